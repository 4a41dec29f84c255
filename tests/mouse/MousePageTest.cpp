// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse page on the simulated mouse: the named controls, Apply, the key popup, the more
// menu's commands and the DPI notice a DPI key raises.
#include "mouse/MousePage.h"

#include "app/FileDialogService.h"
#include "app/PopupService.h"
#include "app/skin/SkinList.h"
#include "app/skin/SkinListElement.h"
#include "app/skin/SkinOption.h"
#include "app/skin/SkinSlider.h"
#include "lighting/CPopColorWnd.h"
#include "mouse/CPopPush.h"
#include "mouse/MouseConfigFile.h"
#include "mouse/PopMouseKeySel.h"
#include "tests/app/UiFixture.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sstream>

namespace varnix::test {
namespace {

namespace fs = std::filesystem;

constexpr int SimulatedMouse = 0; // the first demo device, a MouseA

// Answers every popup and records it.
struct Popups {
    Popups() {
        PopupService::setResponder([this](const PopupRequest& request) {
            requests.push_back(request);
            return 0;
        });
    }
    ~Popups() { PopupService::setResponder({}); }
    bool shown(const QString& text) const {
        return std::any_of(requests.begin(), requests.end(),
                           [&](const PopupRequest& r) { return r.text.contains(text); });
    }
    std::vector<PopupRequest> requests;
};

class MousePageTest : public ::testing::Test {
protected:
    explicit MousePageTest(const std::string& settings = "[Set]\nLanguage=1\nDpiPopEn=1\n")
        : ui(demoDevices(), settings) {}
    void SetUp() override {
        window = &ui.open();
        click("btn_display0");
        pumpEvents(20);
        ASSERT_EQ(page().shownDevice(), SimulatedMouse);
    }
    void TearDown() override {
        CPopColorWnd::setResponder({});
        FileDialogService::setResponder({});
        PopMouseKeySel::setResponder({});
    }

    MousePage& page() { return static_cast<MousePage&>(window->mousePage()); }
    MouseConfigModel& model() { return page().model().model(); }
    fs::path folder() { return ui.root() / "MouseKorv/MouseA"; }

    void click(const char* name) {
        SkinControl* control = window->findControl(QString::fromLatin1(name));
        ASSERT_NE(control, nullptr) << name;
        QTest::mouseClick(control->widget(), Qt::LeftButton);
    }
    void slide(const char* name, int value) {
        auto* slider = window->find<SkinSlider>(QString::fromLatin1(name));
        ASSERT_NE(slider, nullptr);
        // As the keyboard moves it: one step onto the value.
        slider->setValue(value - 1);
        slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        pumpEvents(20);
    }
    bool selected(const char* name) {
        auto* option = window->find<SkinOption>(QString::fromLatin1(name));
        return option && option->isSelected();
    }
    QString text(const char* name) {
        SkinControl* control = window->findControl(QString::fromLatin1(name));
        return control ? control->text() : QString();
    }
    // Every byte varnixctl builds for the saved files, compared with the mouse's memory.
    void expectMemoryHoldsTheSavedFile() {
        const CommandResult printed = runShellCommand(
            "env -u VARNIX_BACKEND -u VARNIX_SIM -u VARNIX_DEBUG '" VARNIXCTL_PATH "' --res '" +
            ui.root().string() + "' image mouse --device " + std::to_string(SimulatedMouse));
        ASSERT_EQ(printed.status, 0) << printed.err;
        const std::vector<std::uint8_t> memory = ui.backend.memory(SimulatedMouse);
        std::istringstream lines(printed.out);
        int compared = 0;
        for (std::string address, byte; lines >> address >> byte; ++compared) {
            const auto at = std::size_t(std::stoi(address, nullptr, 16));
            ASSERT_LT(at, memory.size());
            EXPECT_EQ(int(memory[at]), std::stoi(byte, nullptr, 16)) << "address " << address;
        }
        EXPECT_GT(compared, 100);
    }

    UiFixture ui;
    CMainWnd* window = nullptr;
};

TEST_F(MousePageTest, EveryEditReachesTheMouseOnApply) {
    Popups popups;
    // DPI level 2: its value, its colour through the picker; the polling rate.
    click("chk_MouseAdv_SelDPI2");
    EXPECT_EQ(model().cruseldpi, 2u);
    slide("btn_MouseAdv_DpiSlider", 10);
    EXPECT_EQ(model().dpiLevels[2].dpiIndex, 10);
    EXPECT_EQ(text("chk_MouseAdv_SelDPI2"), QString::fromStdString(dpiText(10)));
    CPopColorWnd::setResponder(
        [](const ColorPickerRequest&) -> std::optional<std::uint32_t> { return 0xFF20C0E0; });
    click("btn_MouseAdv_Color2");
    pumpEvents(30);
    EXPECT_EQ(model().dpiLevels[2].colour, 0xFF20C0E0u);
    click("opt_MouseAdv_Rate3");
    EXPECT_EQ(model().rateusbvalue, 3u);
    slide("btn_MouseAdv_FireCtrl", 120);
    EXPECT_EQ(text("lab_MouseAdv_FireValue"), QStringLiteral("120"));
    // Key 4 becomes Mute through the key popup.
    int asked = 0;
    PopMouseKeySel::setResponder([&](const KeyOpening& opening) -> std::optional<MouseKeyChoice> {
        ++asked;
        EXPECT_EQ(opening.key, 4);
        EXPECT_EQ(opening.tab, mousekeysel::TabMouse);
        return MouseKeyChoice::listItem(mousekeysel::TabMedia, 36);
    });
    click("btn_MouseKey_Click4");
    pumpEvents(30);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(text("btn_MouseKey_Click4"), QStringLiteral("Mute"));

    click("btn_Mouse_Apply");
    pumpEvents(30);
    EXPECT_TRUE(popups.requests.empty()) << popups.requests.front().text.toStdString();
    MouseConfigModel saved;
    ASSERT_TRUE(MouseConfigFile::load(MouseConfigFile::configPath(folder()), saved).ok());
    EXPECT_EQ(saved.profiles[0]["btn_MouseKey_Click4"].code, 36);
    EXPECT_EQ(saved.dpiLevels[2].dpiIndex, 10);
    EXPECT_EQ(saved.rateusbvalue, 3u);
    expectMemoryHoldsTheSavedFile();
    EXPECT_EQ(ui.backend.activationCount(SimulatedMouse), 1);
}

TEST_F(MousePageTest, DpiLevelBoxesKeepOneLevelOn) {
    for (int n = 0; n < 6; ++n)
        model().dpiLevels[std::size_t(n)].enabled = 1;
    for (const char* box : {"chk_MouseAdv_PDIEn0", "chk_MouseAdv_PDIEn1", "chk_MouseAdv_PDIEn2",
                            "chk_MouseAdv_PDIEn3", "chk_MouseAdv_PDIEn4", "chk_MouseAdv_PDIEn5"})
        if (!selected(box))
            click(box);
    for (const char* box : {"chk_MouseAdv_PDIEn0", "chk_MouseAdv_PDIEn1", "chk_MouseAdv_PDIEn2",
                            "chk_MouseAdv_PDIEn3", "chk_MouseAdv_PDIEn4", "chk_MouseAdv_PDIEn5"})
        click(box);
    pumpEvents(20);
    // The last one clicked stays ticked and on; it is the current level now.
    EXPECT_TRUE(selected("chk_MouseAdv_PDIEn5"));
    EXPECT_EQ(model().dpiLevels[5].enabled, 1);
    for (int n = 0; n < 5; ++n)
        EXPECT_EQ(model().dpiLevels[std::size_t(n)].enabled, 0) << n;
    EXPECT_EQ(model().cruseldpi, 5u);
    EXPECT_TRUE(selected("chk_MouseAdv_SelDPI5"));
    SkinControl* level0 = window->findControl(QStringLiteral("chk_MouseAdv_SelDPI0"));
    ASSERT_NE(level0, nullptr);
    EXPECT_FALSE(level0->widget()->isEnabled());
}

TEST_F(MousePageTest, TheOnlyLeftClickKeyAsksAndOpensNoPopup) {
    Popups popups;
    int asked = 0;
    PopMouseKeySel::setResponder([&](const KeyOpening&) -> std::optional<MouseKeyChoice> {
        ++asked;
        return std::nullopt;
    });
    ASSERT_EQ(model().profiles[0]["btn_MouseKey_Click0"].code, 1);
    click("btn_MouseKey_Click0");
    pumpEvents(20);
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(popups.shown(window->messageText(QStringLiteral("OnlyOneKey"))));
    // A second key with the left click lets the first one change.
    model().profiles[0]["btn_MouseKey_Click3"].code = 1;
    click("btn_MouseKey_Click0");
    pumpEvents(20);
    EXPECT_EQ(asked, 1);
}

TEST_F(MousePageTest, ExportImportAndResetGoThroughTheFileDialog) {
    Popups popups;
    const fs::path exchange = ui.dir.path() / "mine";
    FileDialogService::setResponder([&](FileDialogKind, const FileDialogRequest& request) {
        EXPECT_TRUE(request.filter.contains(QStringLiteral("*.Mouse.Config")));
        return QString::fromStdString(exchange.string());
    });
    click("btn_Mouse_Apply");
    pumpEvents(30);
    window->onMenuItem(QStringLiteral("Export"));
    pumpEvents(20);
    ASSERT_TRUE(fs::exists(exchange.string() + ".Mouse.Config"));

    // An edit applied, then the exported file brings the old value back.
    const int before = model().dpiLevels[0].dpiIndex;
    click("chk_MouseAdv_SelDPI0");
    slide("btn_MouseAdv_DpiSlider", before + 3);
    click("btn_Mouse_Apply");
    pumpEvents(30);
    FileDialogService::setResponder([&](FileDialogKind, const FileDialogRequest&) {
        return QString::fromStdString(exchange.string() + ".Mouse.Config");
    });
    window->onMenuItem(QStringLiteral("Import"));
    pumpEvents(20);
    EXPECT_EQ(model().dpiLevels[0].dpiIndex, before);
    EXPECT_EQ(text("chk_MouseAdv_SelDPI0"), QString::fromStdString(dpiText(before)));
    EXPECT_TRUE(popups.requests.empty());

    // Another mouse's file is refused.
    const fs::path other = ui.dir.path() / "other.Mouse.Config";
    ASSERT_TRUE(MouseConfigFile::exportTo(folder(), other, "Tavro_Quenra-Rum2").ok());
    FileDialogService::setResponder([&](FileDialogKind, const FileDialogRequest&) {
        return QString::fromStdString(other.string());
    });
    window->onMenuItem(QStringLiteral("Import"));
    pumpEvents(20);
    EXPECT_TRUE(popups.shown(window->messageText(QStringLiteral("ImportErr"))));

    // Reset: the factory file, shown and written to the mouse.
    slide("btn_MouseAdv_FireCtrl", 200);
    const int activations = ui.backend.activationCount(SimulatedMouse);
    window->onMenuItem(QStringLiteral("Reset"));
    pumpEvents(30);
    MouseConfigModel factory;
    ASSERT_TRUE(MouseConfigFile::load(MouseConfigFile::resetPath(folder()), factory).ok());
    EXPECT_EQ(model().firevalue, factory.firevalue);
    EXPECT_EQ(text("lab_MouseAdv_FireValue"), QString::number(factory.firevalue));
    EXPECT_EQ(ui.backend.activationCount(SimulatedMouse), activations + 1);
    expectMemoryHoldsTheSavedFile();
}

TEST_F(MousePageTest, ADpiKeyMovesThePageAndShowsTheNoticeWithoutTakingTheFocus) {
    CPopPush* notice = window->dpiPopup();
    ASSERT_NE(notice, nullptr);
    notice->setHideDelay(300);
    window->activateWindow();
    SkinControl* apply = window->findControl(QStringLiteral("btn_Mouse_Apply"));
    apply->widget()->setFocus();
    pumpEvents(20);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_EQ(model().profiles[0]["btn_MouseKey_Click5"].code, 6); // the DPI key
    const std::string fileBefore = readTextFile(MouseConfigFile::configPath(folder()));

    // Key 6 of the device is button 5; the long-hold switch is on, so bit 7 marks a DPI event.
    ui.backend.injectInputReport(SimulatedMouse, {6, 240 + 6, 0x80 | 3});
    QTRY_VERIFY_WITH_TIMEOUT(notice->isVisible(), 5000);
    EXPECT_EQ(model().cruseldpi, 3u);
    EXPECT_TRUE(selected("chk_MouseAdv_SelDPI3"));
    auto* slider = window->find<SkinSlider>(QStringLiteral("btn_MouseAdv_DpiSlider"));
    EXPECT_EQ(slider->value(), model().dpiLevels[3].dpiIndex);
    EXPECT_EQ(notice->findControl(QStringLiteral("dpilevel"))->text(), QStringLiteral("4"));
    EXPECT_EQ(notice->findControl(QStringLiteral("dpivalue"))->text().toStdString(),
              dpiText(model().dpiLevels[3].dpiIndex));
    EXPECT_EQ(notice->findControl(QStringLiteral("dev_name"))->text(),
              QStringLiteral("Tavro_Quenra-Rum1"));
    EXPECT_TRUE(notice->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(notice->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_FALSE(notice->isActiveWindow());
    EXPECT_EQ(QApplication::focusWidget(), focused);
    // The page took the level into its model; the file waits for Apply.
    EXPECT_EQ(readTextFile(MouseConfigFile::configPath(folder())), fileBefore);

    // A second change while it shows: the latest values.
    ui.backend.injectInputReport(SimulatedMouse, {6, 240 + 6, 0x80 | 1});
    QTRY_COMPARE_WITH_TIMEOUT(notice->findControl(QStringLiteral("dpilevel"))->text(),
                              QStringLiteral("2"), 5000);
    EXPECT_TRUE(notice->isVisible());
    // Quiet: it hides.
    QTRY_VERIFY_WITH_TIMEOUT(!notice->isVisible(), 5000);
    EXPECT_EQ(QApplication::focusWidget(), focused);
}

TEST_F(MousePageTest, AProfileKeySelectsTheProfileOnThePage) {
    // A profile report: the profile on the page and its key texts.
    model().profiles[2]["btn_MouseKey_Click1"].text = "Third";
    window->postMessage(2032, 5 * 256 + 6, SimulatedMouse); // profile 6 & 3 = 2
    QTRY_COMPARE_WITH_TIMEOUT(page().model().currentProfile(), 2, 2000);
    EXPECT_EQ(text("btn_MouseKey_Click1"), QStringLiteral("Third"));
}

TEST_F(MousePageTest, ThePopupsRowChoosesTheFunctionAtOnceAndHoverMarksTheKey) {
    // The real popup: its media tab, the row of code 36 (named by its code), a click.
    bool answered = false;
    QTimer::singleShot(50, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* popup = qobject_cast<PopMouseKeySel*>(top);
            if (!popup || !popup->isVisible())
                continue;
            EXPECT_EQ(popup->opening().key, 2);
            EXPECT_EQ(popup->opening().tab, mousekeysel::TabMouse);
            QTest::mouseClick(popup->findControl(QStringLiteral("opt_MouseKey_Media"))->widget(),
                              Qt::LeftButton);
            auto* list = popup->find<SkinList>(QStringLiteral("list_MouseKey_Media"));
            ASSERT_NE(list, nullptr);
            for (int i = 0; i < list->count(); ++i)
                if (list->itemAt(i)->name() == QStringLiteral("KeyItem__36")) {
                    QTest::mouseClick(list->itemAt(i)->widget(), Qt::LeftButton);
                    answered = true;
                }
        }
    });
    click("btn_MouseKey_Click2");
    pumpEvents(30);
    EXPECT_TRUE(answered);
    EXPECT_EQ(model().profiles[0]["btn_MouseKey_Click2"].code, 36);
    EXPECT_EQ(text("btn_MouseKey_Click2"), QStringLiteral("Mute"));

    // Entering a key button marks its key; leaving clears the mark.
    SkinNotify enter{QStringLiteral("mouseenter"), QStringLiteral("btn_MouseKey_Click3")};
    page().notify(enter);
    EXPECT_TRUE(selected("btn_MouseKey_Mark3"));
    EXPECT_FALSE(selected("btn_MouseKey_Mark2"));
    page().notify({QStringLiteral("mouseleave"), QStringLiteral("btn_MouseKey_Click3")});
    EXPECT_FALSE(selected("btn_MouseKey_Mark3"));
    // Keys the model lacks are hidden: MouseA has six.
    EXPECT_TRUE(window->findControl(QStringLiteral("btn_MouseKey_Click5"))->isControlVisible());
    EXPECT_FALSE(window->findControl(QStringLiteral("btn_MouseKey_Click6"))->isControlVisible());
}

TEST_F(MousePageTest, TryWritesTheMouseWithoutSavingOrTheProgressPopup) {
    Popups popups;
    const std::string before = readTextFile(MouseConfigFile::configPath(folder()));
    click("opt_MouseAdv_Rate2");
    click("btn_Mouse_TempButn");
    // The write runs on its own worker; the window goes on.
    const ApplyResult result = page().waitForTry();
    EXPECT_TRUE(result.ok()) << result.detail;
    EXPECT_EQ(ui.backend.activationCount(SimulatedMouse), 1);
    EXPECT_EQ(readTextFile(MouseConfigFile::configPath(folder())), before);
    EXPECT_TRUE(popups.requests.empty());
}

TEST(MousePageFilesTest, AMissingPositionFileWarnsOnceAndThePageStillWorks) {
    UiFixture ui;
    std::filesystem::remove(ui.root() / "MouseKorv/MouseA/Position/mousekey.json");
    Popups popups;
    CMainWnd& window = ui.open();
    for (int visit = 0; visit < 2; ++visit) {
        QTest::mouseClick(window.findControl(QStringLiteral("btn_console"))->widget(),
                          Qt::LeftButton);
        QTest::mouseClick(window.findControl(QStringLiteral("btn_display0"))->widget(),
                          Qt::LeftButton);
        pumpEvents(20);
    }
    const QString warning = window.messageText(QStringLiteral("Json Warn"));
    EXPECT_EQ(std::count_if(popups.requests.begin(), popups.requests.end(),
                            [&](const PopupRequest& r) { return r.text == warning; }),
              1);
    auto& page = static_cast<MousePage&>(window.mousePage());
    EXPECT_EQ(page.shownDevice(), SimulatedMouse);
    EXPECT_EQ(window.findControl(QStringLiteral("btn_MouseKey_Click0"))->text(),
              QStringLiteral("Left"));
}

} // namespace
} // namespace varnix::test
