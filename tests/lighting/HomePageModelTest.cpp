// SPDX-License-Identifier: GPL-3.0-or-later
// The home page's model: the PublicLed panel's modes by position, the repeat rule, the colour
// index, the file and factory file, the device picture and the status line.
#include "lighting/HomePageModel.h"

#include "lighting/LedMode.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace varnix {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> valueOf(const ViewRows& rows, const std::string& control,
                                   const std::string& attribute) {
    std::optional<std::string> value;
    for (const ViewRow& row : rows)
        if (row.control == control && row.attribute == attribute)
            value = row.value; // the last row wins, as when the rows are applied in order
    return value;
}

bool shown(const ViewRows& rows, const char* control) {
    return valueOf(rows, control, viewattr::Visible) == "true";
}

class HomePageModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.path() / "Home/LightShow");
        fs::copy_file(test::sourceResDir() / sharedfile::ResetFile,
                      dir.path() / sharedfile::ResetFile);
        fs::copy_file(test::sourceResDir() / sharedfile::ConfigFile,
                      dir.path() / sharedfile::ConfigFile);
        ASSERT_TRUE(test::isOk(model.load(dir.path())));
    }
    // Slots 0..count-1 enabled, the others off.
    void enableSlots(int count) {
        for (int slot = 0; slot < LedSlotCount; ++slot)
            model.panel().setSlotEnabled(slot, true);
        for (int slot = LedSlotCount - 1; slot >= count; --slot)
            model.panel().setSlotEnabled(slot, false);
    }

    test::TempDir dir;
    HomePageModel model;
};

// Each position shows its own controls; symmetry never shows, the selectors only in Constant.
TEST_F(HomePageModelTest, ModePositionsLayOutTheirControls) {
    struct Case {
        int position;
        bool colours, selectors, speed;
        int directions;
    };
    const Case cases[] = {{0, true, false, true, 0},  {1, true, true, false, 0},
                          {2, true, false, true, 4},  {3, true, false, true, 3},
                          {4, true, false, true, 3},  {5, false, false, true, 0},
                          {6, false, false, true, 2}, {7, false, false, false, 0}};
    const char* directions[] = {"opt_PublicLed_BackwardVal", "opt_PublicLed_PositiveVal",
                                "opt_PublicLed_TwowayVal", "opt_PublicLed_CoverVal"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        model.panel().chooseDirection(2);
        const ViewRows rows = model.panel().chooseModePosition(c.position);
        EXPECT_EQ(model.panel().effect().mode, c.position);
        EXPECT_EQ(model.panel().effect().direction, 0);
        EXPECT_EQ(valueOf(rows, "opt_PublicLed_BackwardVal", viewattr::Selected), "true");
        EXPECT_EQ(shown(rows, "label_PublicLed_ColText"), c.colours);
        EXPECT_EQ(shown(rows, "btn_PublicLed_ColVal3"), c.colours);
        EXPECT_EQ(shown(rows, "chk_PublicLed_ColEn3"), c.colours);
        EXPECT_EQ(shown(rows, "opt_PublicLed_ColSel3"), c.selectors);
        EXPECT_EQ(shown(rows, "slider_PublicLed_SpeedVal"), c.speed);
        EXPECT_EQ(shown(rows, "slider_PublicLed_BrightVal"), c.position != 7);
        EXPECT_FALSE(shown(rows, "Chk_PublicLed_SymnetryVal"));
        EXPECT_EQ(shown(rows, "label_PublicLed_DirtectText"), c.directions > 0);
        for (int d = 0; d < 4; ++d)
            EXPECT_EQ(shown(rows, directions[d]), d < c.directions) << directions[d];
    }
    // The whole record shown selects the mode option of its position.
    const ViewRows rows = model.show();
    EXPECT_EQ(valueOf(rows, "opt_PublicLed_Mode7", viewattr::Selected), "true");
    EXPECT_EQ(valueOf(rows, "opt_PublicLed_Mode0", viewattr::Selected), "false");
    EXPECT_FALSE(valueOf(rows, "btn_PublicLed_LedMode", viewattr::SelectedItem));
}

TEST_F(HomePageModelTest, ModeOptionsAreThePanelsControls) {
    const LedPanel& panel = model.panel().panel();
    EXPECT_EQ(identifyPanelControl(panel, "opt_PublicLed_Mode5"),
              (PanelControl{PanelControlKind::ModeOption, 5}));
    EXPECT_FALSE(identifyPanelControl(panel, "opt_PublicLed_Mode8"));
    // The device pages keep their drop-down.
    EXPECT_FALSE(identifyPanelControl(*LedPanel::fromPrefix(PadLedPrefix), "opt_PadLed_Mode1"));
    LedPanelModel pad(*LedPanel::fromPrefix(PadLedPrefix));
    EXPECT_TRUE(pad.chooseModePosition(1).empty());
}

// Constant keeps slot 0's colour button reachable even with the slot off; every other mode
// greys it with its enable box.
TEST_F(HomePageModelTest, ConstantKeepsSlotZerosColourButtonEnabled) {
    enableSlots(3);
    model.panel().setSlotEnabled(0, false);
    ASSERT_EQ(model.panel().effect().slots[0].enabled, 0);
    for (int position = 0; position < PositionModeCount; ++position) {
        SCOPED_TRACE(position);
        const ViewRows rows = model.panel().chooseModePosition(position);
        EXPECT_EQ(valueOf(rows, "btn_PublicLed_ColVal0", viewattr::Enabled),
                  position == 1 ? "true" : "false");
        EXPECT_EQ(valueOf(model.show(), "btn_PublicLed_ColVal0", viewattr::Enabled),
                  position == 1 ? "true" : "false");
    }
    model.panel().chooseModePosition(1);
    // Switching slot 0 on and off again in Constant leaves its button enabled, and the selector
    // greyed with the slot.
    model.panel().setSlotEnabled(0, true);
    const ViewRows rows = model.panel().setSlotEnabled(0, false);
    EXPECT_EQ(valueOf(rows, "btn_PublicLed_ColVal0", viewattr::Enabled), "true");
    EXPECT_EQ(valueOf(rows, "opt_PublicLed_ColSel0", viewattr::Enabled), "false");
    EXPECT_EQ(valueOf(rows, "btn_PublicLed_ColVal1", viewattr::Enabled), std::nullopt);
}

// How often Apply writes again, as the page computes it from what it shows.
TEST_F(HomePageModelTest, RepeatIntervalPerMode) {
    struct Case {
        int position, colours;
        std::optional<std::int64_t> interval;
    };
    const int k = 7 - 3; // the shipped file's speed
    const int leds = 12;
    const Case cases[] = {
        {0, 1, std::nullopt},       // Breathing, one colour: written once, no timer
        {0, 3, k * 3 * 4232},       // Breathing
        {1, 2, k * 2 * 4232},       // Constant
        {2, 3, k * leds * 3 * 212}, // Flow
        {3, 2, k * leds * 2 * 212}, // Single
        {4, 4, k * leds * 4 * 212}, // CometTail, fewer than 15 LEDs
        {5, 1, k * 6 * 4232},       // Neon counts six colours even with one
        {6, 1, std::nullopt},       // Ambilight, one colour
        {6, 7, k * 7 * 4232},       // Ambilight
        {7, 2, k * 2 * 4232},       // Mute with two colours repeats as the formula says
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "position " << c.position << " colours " << c.colours);
        enableSlots(c.colours);
        model.panel().chooseModePosition(c.position);
        EXPECT_EQ(model.repeatIntervalMs(), c.interval);
    }
    // The status line's example: three colours of Breathing at speed 3 repeat every 51 s.
    enableSlots(3);
    model.panel().chooseModePosition(0);
    EXPECT_EQ(intervalSeconds(*model.repeatIntervalMs()), 51);
}

// The keyboard (and the pad) take the selected colour only in Constant; every other mode 0.
TEST_F(HomePageModelTest, ColourIndexOnlyInConstant) {
    enableSlots(7);
    model.panel().chooseModePosition(1);
    model.panel().chooseColourSlot(4);
    for (int position = 0; position < PositionModeCount; ++position) {
        SCOPED_TRACE(position);
        model.panel().chooseModePosition(position);
        const SharedLighting lighting = model.lighting();
        EXPECT_EQ(lighting.colourIndex(), position == 1 ? 5 : 0);
        const LedEffect device = *lighting.deviceEffect();
        EXPECT_EQ(device.colourType, position == 1 ? LedSingleColour : LedCycleColours);
        EXPECT_EQ(device.selectedSlot, position == 1 ? 4 : 0);
    }
}

TEST_F(HomePageModelTest, SaveCancelAndLoadKeepWhatThePanelDoesNotShow) {
    // The file's LED count and symmetry have no control; they are written back unchanged.
    SharedLighting stored;
    ASSERT_TRUE(test::isOk(SharedLighting::load(dir.path() / sharedfile::ConfigFile, stored)));
    stored.ledCount = 20;
    stored.symmetric = true;
    ASSERT_TRUE(test::isOk(SharedLighting::save(dir.path() / sharedfile::ConfigFile, stored)));
    ASSERT_TRUE(test::isOk(model.load(dir.path())));
    model.panel().chooseModePosition(3);
    model.panel().setSpeed(0);
    ASSERT_TRUE(test::isOk(model.save()));
    SharedLighting saved;
    ASSERT_TRUE(test::isOk(SharedLighting::load(dir.path() / sharedfile::ConfigFile, saved)));
    EXPECT_EQ(saved.mode, 3);
    EXPECT_EQ(saved.speed, 1);
    EXPECT_EQ(saved.ledCount, 20);
    EXPECT_TRUE(saved.symmetric);

    // Cancel shows the factory effect and writes nothing.
    const std::string before = test::readTextFile(dir.path() / sharedfile::ConfigFile);
    ASSERT_TRUE(test::isOk(model.cancel()));
    SharedLighting factory;
    ASSERT_TRUE(test::isOk(SharedLighting::load(dir.path() / sharedfile::ResetFile, factory)));
    EXPECT_EQ(model.lighting(), factory);
    EXPECT_EQ(test::readTextFile(dir.path() / sharedfile::ConfigFile), before);

    // No file: the factory effect, nothing written. A broken file: a message, the panel as it was.
    fs::remove(dir.path() / sharedfile::ConfigFile);
    model.panel().chooseModePosition(6);
    EXPECT_TRUE(test::isOk(model.load(dir.path())));
    EXPECT_EQ(model.lighting(), factory);
    EXPECT_FALSE(fs::exists(dir.path() / sharedfile::ConfigFile));
    test::writeTextFile(dir.path() / sharedfile::ConfigFile, "{\"PublicLedconfig\": 5}");
    model.panel().chooseModePosition(6);
    const Outcome broken = model.load(dir.path());
    EXPECT_EQ(broken.status, Status::Invalid);
    EXPECT_EQ(broken.messageKey, homepage::JsonWarn);
    EXPECT_EQ(model.panel().effect().mode, 6);
    // A file that cannot be written is told as such.
    fs::remove(dir.path() / sharedfile::ConfigFile);
    fs::create_directory(dir.path() / sharedfile::ConfigFile);
    EXPECT_EQ(model.save().messageKey, homepage::SaveErr);
}

TEST(HomePageStatusTest, StatusLineAndPicture) {
    using namespace homepage;
    auto state = [](bool applied, bool repeating, int connected, int written, int missed = 0) {
        SharedRunState s;
        s.applied = applied;
        s.repeating = repeating;
        s.intervalMs = repeating ? std::optional<std::int64_t>(50784) : std::nullopt;
        s.connected = connected;
        s.written = written;
        s.missed = missed;
        return s;
    };
    SharedRunState writing = state(true, true, 3, 3);
    writing.writing = true;
    SharedRunState stopped = state(true, false, 3, 3);
    stopped.stopped = true;
    struct Case {
        SharedRunState state;
        std::vector<StatusText> line;
    };
    const Case cases[] = {
        {state(false, false, 0, 0), {{StatusNoDevice, {}}}},
        {state(true, true, 0, 2), {{StatusNoDevice, {}}}},
        {state(false, false, 3, 0), {{StatusIdle, {}}}},
        {writing, {{StatusWriting, {"3"}}}},
        {state(true, true, 3, 3), {{StatusInStep, {"3", "51"}}}},
        {state(true, true, 1, 1), {{StatusInStepOne, {"1", "51"}}}},
        {state(true, true, 3, 2, 1), {{StatusInStep, {"2", "51"}}, {StatusMissed, {"1"}}}},
        {state(true, false, 2, 2), {{StatusOnce, {"2"}}}},
        {stopped, {{StatusStopped, {}}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(statusLine(c.state), c.line);
    EXPECT_EQ(intervalSeconds(400), 1);
    EXPECT_EQ(devicePicture(0, true), "Home/LightShow/PublicLed_NULL.png");
    EXPECT_EQ(devicePicture(2, false), "Home/LightShow/PublicLed_1.png");
    EXPECT_EQ(devicePicture(3, true), "Home/LightShow/PublicLed_2.png");
    EXPECT_EQ(valueOf(devicePictureRows(3, true), PictureControl, "normalimage"),
              "Home/LightShow/PublicLed_2.png");
}

} // namespace
} // namespace varnix
