// SPDX-License-Identifier: GPL-3.0-or-later
// The pad page on the simulated pad: the panel's controls, Apply, the more menu's commands.
#include "lighting/PadPage.h"

#include "app/FileDialogService.h"
#include "app/PopupService.h"
#include "app/skin/SkinCombo.h"
#include "app/skin/SkinOption.h"
#include "app/skin/SkinSlider.h"
#include "lighting/CPopColorWnd.h"
#include "lighting/LedMode.h"
#include "lighting/PadImageBuilder.h"
#include "tests/app/UiFixture.h"

#include <QTest>
#include <gtest/gtest.h>

namespace varnix::test {
namespace {

namespace fs = std::filesystem;

constexpr int SimulatedPad = 2; // the third demo device

// Answers every popup and records it.
struct Popups {
    Popups() {
        PopupService::setResponder([this](const PopupRequest& request) {
            requests.push_back(request);
            return 0;
        });
    }
    ~Popups() { PopupService::setResponder({}); }
    std::vector<PopupRequest> requests;
};

class PadPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = &ui.open();
        click(QStringLiteral("btn_display2"));
        pumpEvents(20);
        ASSERT_GE(page().shownDevice(), 0);
    }
    void TearDown() override {
        CPopColorWnd::setResponder({});
        FileDialogService::setResponder({});
    }

    PadPage& page() { return static_cast<PadPage&>(window->padPage()); }
    const DeviceRecord& record() {
        return window->catalogue().DeviceList[std::size_t(page().shownDevice())];
    }
    fs::path folder() { return ui.root() / "PadKorv" / record().DevFolder; }

    void click(const QString& name) {
        SkinControl* control = window->findControl(name);
        ASSERT_NE(control, nullptr) << name.toStdString();
        QTest::mouseClick(control->widget(), Qt::LeftButton);
    }
    void chooseMode(const char* item) {
        auto* list = window->find<SkinCombo>(QStringLiteral("btn_PadLed_LedMode"));
        ASSERT_NE(list, nullptr);
        list->setCurrentIndex(list->findItem(QString::fromLatin1(item)));
    }
    void slide(const char* name, int value) {
        auto* slider = window->find<SkinSlider>(QString::fromLatin1(name));
        ASSERT_NE(slider, nullptr);
        slider->setValue(value);
        pumpEvents(20);
    }
    bool visible(const char* name) {
        SkinControl* control = window->findControl(QString::fromLatin1(name));
        return control && control->isControlVisible();
    }
    // The pad's memory where the pad image lives.
    std::vector<std::uint8_t> padBytes() {
        const std::vector<std::uint8_t> memory = ui.backend.memory(SimulatedPad);
        return {memory.begin() + padimage::FirstAddress,
                memory.begin() + padimage::LastAddress + 1};
    }
    // What varnixctl prints for the saved file of the shown pad, as pad bytes.
    std::vector<std::uint8_t> imageOfTheSavedFile() {
        const CommandResult printed = runShellCommand(
            "env -u VARNIX_BACKEND -u VARNIX_SIM -u VARNIX_DEBUG '" VARNIXCTL_PATH "' --res '" +
            ui.root().string() + "' image pad --device " + std::to_string(page().shownDevice()));
        EXPECT_EQ(printed.status, 0) << printed.err;
        std::vector<std::uint8_t> bytes;
        std::istringstream lines(printed.out);
        for (std::string address, byte; lines >> address >> byte;)
            bytes.push_back(static_cast<std::uint8_t>(std::stoi(byte, nullptr, 16)));
        return bytes;
    }

    UiFixture ui;
    CMainWnd* window = nullptr;
};

TEST_F(PadPageTest, EditsReachThePadOnApplyAsTheSavedFileDescribesThem) {
    Popups popups;
    chooseMode("Breathing");
    EXPECT_EQ(page().model().panel().effect().mode, LedModeBreathing);
    // The colour picker answers for the third slot.
    CPopColorWnd::setResponder(
        [](const ColorPickerRequest&) -> std::optional<std::uint32_t> { return 0xFF20C0E0; });
    click(QStringLiteral("btn_PadLed_ColVal2"));
    pumpEvents(30);
    EXPECT_EQ(page().model().panel().effect().slots[2].colour, 0xFF20C0E0u);
    slide("slider_PadLed_BrightVal", 4);
    slide("slider_PadLed_SpeedVal", 3);
    click(QStringLiteral("btn_Pad_apply"));
    pumpEvents(30);

    EXPECT_TRUE(popups.requests.empty()) << popups.requests.front().text.toStdString();
    const std::vector<std::uint8_t> saved = imageOfTheSavedFile();
    ASSERT_EQ(saved.size(), std::size_t(padimage::LastAddress - padimage::FirstAddress + 1));
    EXPECT_EQ(padBytes(), saved);
    EXPECT_EQ(ui.backend.memory(SimulatedPad)[padimage::Mode] & 0x0F, LedModeBreathing);
    EXPECT_EQ(ui.backend.activationCount(SimulatedPad), 1);
}

TEST_F(PadPageTest, TheModeListShowsTheControlsOfThePadsColumn) {
    struct Case {
        const char* mode;
        bool colours, speed, symmetry, cover;
    };
    const Case cases[] = {
        {"Mute", false, false, false, false},      {"Constant", true, true, false, false},
        {"Ambilight", false, true, true, false},   {"Flow", true, true, true, true},
        {"Partition", false, false, false, false}, {"Wave", false, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        chooseMode(c.mode);
        EXPECT_EQ(visible("btn_PadLed_ColVal0"), c.colours);
        EXPECT_EQ(visible("slider_PadLed_SpeedVal"), c.speed);
        EXPECT_EQ(visible("Chk_PadLed_SymnetryVal"), c.symmetry);
        EXPECT_EQ(visible("opt_PadLed_CoverVal"), c.cover);
        EXPECT_TRUE(visible("slider_PadLed_BrightVal") || std::string(c.mode) == "Mute");
    }
}

TEST_F(PadPageTest, CancellingThePickerChangesNothing) {
    Popups popups;
    const LedEffect before = page().model().panel().effect();
    CPopColorWnd::setResponder(
        [](const ColorPickerRequest&) -> std::optional<std::uint32_t> { return std::nullopt; });
    chooseMode("Constant");
    click(QStringLiteral("btn_PadLed_ColVal1"));
    pumpEvents(30);
    EXPECT_EQ(page().model().panel().effect().slots, before.slots);
}

TEST_F(PadPageTest, ResetWritesTheFactoryLightingWithoutApply) {
    Popups popups;
    chooseMode("Neon");
    window->onMenuItem(QStringLiteral("Reset"));
    pumpEvents(30);
    PadLighting factory;
    ASSERT_TRUE(isOk(PadLighting::load(folder(), factory)));
    EXPECT_EQ(page().model().panel().effect(), factory.effect());
    EXPECT_EQ(padBytes(), imageOfTheSavedFile());
    EXPECT_EQ(ui.backend.activationCount(SimulatedPad), 1);
}

TEST_F(PadPageTest, AnotherPadsFileIsRefusedAndChangesNothing) {
    Popups popups;
    const fs::path file = ui.dir.path() / "other.Light.Config";
    writeTextFile(file, "{\"PadName\": [80, 97, 100], \"Padconfig\": {\"Padled\": {}}}");
    const std::string before = readTextFile(PadLighting::configPath(folder()));
    FileDialogService::setResponder([&](FileDialogKind, const FileDialogRequest&) {
        return QString::fromStdString(file.string());
    });
    window->onMenuItem(QStringLiteral("Import"));
    pumpEvents(20);
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].title, window->messageText(QStringLiteral("Error")));
    EXPECT_EQ(popups.requests[0].text, window->messageText(QStringLiteral("ImportErr")));
    EXPECT_NE(popups.requests[0].text, QStringLiteral("ImportErr")); // a sentence, not the key
    EXPECT_EQ(readTextFile(PadLighting::configPath(folder())), before);
}

TEST_F(PadPageTest, APulledOutPadEndsTheApplyWithAMessageAndThePageStaysUsable) {
    Popups popups;
    ui.backend.setFaultHook(SimulatedPad,
                            [](const std::vector<std::uint8_t>&) { return FrameFate::Vanish; });
    click(QStringLiteral("btn_Pad_apply"));
    pumpEvents(30);
    ASSERT_FALSE(popups.requests.empty());
    EXPECT_EQ(popups.requests.back().title, window->messageText(QStringLiteral("Error")));
    chooseMode("Flow");
    EXPECT_EQ(page().model().panel().effect().mode, LedModeFlow);
}

} // namespace
} // namespace varnix::test
