// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting panel's model: control names, the rows it shows, and the user's edits.
#include "lighting/LedPanelModel.h"

#include "lighting/LedMode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

using ::testing::Contains;
using ::testing::IsEmpty;
using ::testing::Not;

const LedPanel& pad() {
    static const LedPanel panel = *LedPanel::fromPrefix(PadLedPrefix);
    return panel;
}
const LedPanel& keyboard() {
    static const LedPanel panel = *LedPanel::fromPrefix(KeyboardLedPrefix);
    return panel;
}

LedEffect effectWith(int mode, std::vector<int> enabled = {0, 1, 2, 3, 4, 5, 6}) {
    LedEffect effect;
    effect.mode = mode;
    effect.brightness = 3;
    effect.speed = 2;
    for (int slot : enabled)
        effect.slots[static_cast<std::size_t>(slot)] = {1, 0xFF00FF00};
    effect.selectedSlot = enabled.empty() ? 0 : enabled.front();
    return effect;
}

// The value the last row for (control, attribute) sets, or nothing.
std::optional<std::string> lastValue(const ViewRows& rows, const std::string& control,
                                     const std::string& attribute) {
    std::optional<std::string> value;
    for (const ViewRow& row : rows)
        if (row.control == control && row.attribute == attribute)
            value = row.value;
    return value;
}

TEST(LedPanelModelTest, ControlNamesAreIdentifiedForTheirPanelOnly) {
    using K = PanelControlKind;
    const std::vector<std::pair<std::string, std::optional<PanelControl>>> cases{
        {"btn_PadLed_LedMode", PanelControl{K::ModeList}},
        {"btn_PadLed_ColVal4", PanelControl{K::ColourButton, 4}},
        {"chk_PadLed_ColEn0", PanelControl{K::EnableBox, 0}},
        {"opt_PadLed_ColSel6", PanelControl{K::ColourSelect, 6}},
        {"opt_PadLed_SigleColor", PanelControl{K::ColourType, 0}},
        {"opt_PadLed_CycleColor", PanelControl{K::ColourType, 1}},
        {"opt_PadLed_BackwardVal", PanelControl{K::Direction, 0}},
        {"opt_PadLed_CoverVal", PanelControl{K::Direction, 3}},
        {"Chk_PadLed_SymnetryVal", PanelControl{K::Symmetry}},
        {"slider_PadLed_BrightVal", PanelControl{K::BrightnessSlider}},
        {"slider_PadLed_SpeedVal", PanelControl{K::SpeedSlider}},
        {"btn_PadLed_ColVal7", std::nullopt},
        {"btn_KBLed_ColVal1", std::nullopt},
        {"btn_Pad_apply", std::nullopt},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(identifyPanelControl(pad(), name), expected) << name;
}

TEST(LedPanelModelTest, ShowingARecordShowsItExactly) {
    LedPanelModel model(pad());
    LedEffect effect = effectWith(LedModeFlow, {1, 3});
    effect.direction = 2;
    effect.colourType = LedCycleColours;
    effect.slots[3].colour = 0xFF123456;
    effect.brightness = 9;
    model.setBrightnessLimit(5);
    const ViewRows rows = model.show(effect);

    EXPECT_EQ(model.effect().brightness, 5); // capped
    EXPECT_EQ(lastValue(rows, "slider_PadLed_BrightVal", "max"), "5");
    EXPECT_EQ(lastValue(rows, "slider_PadLed_BrightVal", "value"), "5");
    EXPECT_EQ(lastValue(rows, "label_PadLed_BrightValText", "text"), "5");
    EXPECT_EQ(lastValue(rows, "btn_PadLed_LedMode", "selecteditem"), "Flow");
    // The stored direction, not the first option a mode change would select.
    EXPECT_EQ(lastValue(rows, "opt_PadLed_TwowayVal", "selected"), "true");
    EXPECT_EQ(lastValue(rows, "opt_PadLed_BackwardVal", "selected"), "false");
    EXPECT_EQ(lastValue(rows, "opt_PadLed_CycleColor", "selected"), "true");
    EXPECT_EQ(lastValue(rows, "btn_PadLed_ColVal3", "bkcolor"), "#FF123456");
    EXPECT_EQ(lastValue(rows, "chk_PadLed_ColEn0", "selected"), "false");
    EXPECT_EQ(lastValue(rows, "btn_PadLed_ColVal0", "enabled"), "false");
    EXPECT_EQ(lastValue(rows, "opt_PadLed_ColSel3", "enabled"), "true");
    // Flow shows Cover; cycling hides the selectors but shows the single/cycle pair.
    EXPECT_EQ(lastValue(rows, "opt_PadLed_CoverVal", "visible"), "true");
    EXPECT_EQ(lastValue(rows, "opt_PadLed_ColSel1", "visible"), "false");
    EXPECT_EQ(lastValue(rows, "opt_PadLed_SigleCycleBar", "visible"), "true");
}

TEST(LedPanelModelTest, ChoosingAModeResetsTheDirectionAndFollowsThePanelsColumn) {
    struct Case {
        const LedPanel* panel;
        const char* item;
        bool speedShown;
        bool allEnabled;
    };
    const Case cases[] = {
        {&pad(), "Constant", true, false},
        {&keyboard(), "Constant", false, false},
        {&pad(), "Wave", true, false},
        {&keyboard(), "Wave", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.panel->prefix()) + " " + c.item);
        LedPanelModel model(*c.panel);
        LedEffect effect = effectWith(LedModeFlow, {2});
        effect.direction = 3;
        model.show(effect);
        const ViewRows rows = model.chooseMode(c.item);
        EXPECT_EQ(model.effect().mode, *ledModeFromName(c.item));
        EXPECT_EQ(model.effect().direction, 0);
        EXPECT_EQ(lastValue(rows, c.panel->directionOptions()[0], "selected"), "true");
        EXPECT_EQ(lastValue(rows, c.panel->control("slider", "SpeedVal"), "visible"),
                  viewBool(c.speedShown));
        EXPECT_EQ(model.effect().enabledMask() == 0x7F, c.allEnabled);
        if (c.allEnabled) {
            EXPECT_EQ(lastValue(rows, c.panel->enableBox(0), "selected"), "true");
        }
    }
    LedPanelModel model(pad());
    model.show(effectWith(LedModeFlow));
    EXPECT_THAT(model.chooseMode("Sparkle"), IsEmpty());
    EXPECT_EQ(model.effect().mode, LedModeFlow);
}

TEST(LedPanelModelTest, SlotEnableRules) {
    // Unchecking the last enabled slot: it stays enabled and its box is checked again.
    LedPanelModel model(pad());
    model.show(effectWith(LedModeBreathing, {4}));
    ViewRows rows = model.setSlotEnabled(4, false);
    EXPECT_EQ(model.effect().slots[4].enabled, 1);
    EXPECT_EQ(lastValue(rows, "chk_PadLed_ColEn4", "selected"), "true");

    // Disabling the single colour moves it to the next enabled slot, wrapping from 6 to 0.
    model.show(effectWith(LedModeBreathing, {0, 3, 6}));
    model.chooseColourSlot(6);
    rows = model.setSlotEnabled(6, false);
    EXPECT_EQ(model.effect().selectedSlot, 0);
    EXPECT_EQ(lastValue(rows, "opt_PadLed_ColSel0", "selected"), "true");
    EXPECT_EQ(lastValue(rows, "btn_PadLed_ColVal6", "enabled"), "false");
    EXPECT_EQ(lastValue(rows, "opt_PadLed_ColSel6", "enabled"), "false");

    // A disabled slot cannot become the single colour.
    rows = model.chooseColourSlot(6);
    EXPECT_EQ(model.effect().selectedSlot, 0);
    EXPECT_EQ(lastValue(rows, "opt_PadLed_ColSel0", "selected"), "true");

    rows = model.setSlotEnabled(6, true);
    EXPECT_EQ(model.effect().slots[6].enabled, 1);
    EXPECT_EQ(lastValue(rows, "btn_PadLed_ColVal6", "enabled"), "true");
}

TEST(LedPanelModelTest, SlidersStoreAtLeastOneAndTheBrightnessAtMostItsLimit) {
    LedPanelModel model(pad());
    model.setBrightnessLimit(5);
    model.show(effectWith(LedModeBreathing));
    struct Case {
        int value;
        int brightness;
        bool sliderCorrected;
    };
    for (const Case c : {Case{0, 1, true}, Case{4, 4, false}, Case{6, 5, true}}) {
        const ViewRows rows = model.setBrightness(c.value);
        EXPECT_EQ(model.effect().brightness, c.brightness) << c.value;
        EXPECT_EQ(lastValue(rows, "label_PadLed_BrightValText", "text"),
                  std::to_string(c.brightness));
        EXPECT_EQ(lastValue(rows, "slider_PadLed_BrightVal", "value").has_value(),
                  c.sliderCorrected);
    }
    model.setSpeed(0);
    EXPECT_EQ(model.effect().speed, 1);
}

TEST(LedPanelModelTest, AColourTypeChoiceLaysThePadsModeOutAgain) {
    for (const LedPanel* panel : {&pad(), &keyboard()}) {
        LedPanelModel model(*panel);
        LedEffect effect = effectWith(LedModeCometTail);
        effect.direction = 2;
        model.show(effect);
        const ViewRows rows = model.chooseColourType(LedCycleColours);
        EXPECT_EQ(model.effect().colourType, LedCycleColours);
        const bool redone = panel->traits().colourTypeRedoesModeLayout;
        EXPECT_EQ(model.effect().direction, redone ? 0 : 2) << panel->prefix();
        EXPECT_EQ(lastValue(rows, panel->colourSelect(0), "visible"), "false");
        EXPECT_EQ(lastValue(rows, panel->directionOptions()[0], "selected").has_value(), redone);
    }
}

TEST(LedPanelModelTest, ColoursGoToTheirSlot) {
    LedPanelModel model(keyboard());
    model.show(effectWith(LedModeConstant));
    EXPECT_THAT(model.setColour(2, 0xFF0A0B0C),
                Contains(ViewRow{"btn_KBLed_ColVal2", "bkcolor", "#FF0A0B0C"}));
    EXPECT_EQ(model.effect().slots[2].colour, 0xFF0A0B0Cu);
    EXPECT_THAT(model.setColour(7, 1), IsEmpty());
    EXPECT_THAT(model.effect().slots, Not(Contains(ColourSlot{1, 1})));
}

} // namespace
} // namespace varnix
