// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on simulated devices: device bar, selection, tabs, closing, languages.
#include "UiFixture.h"
#include "app/CPopTipWnd.h"
#include "app/skin/SkinOption.h"
#include "app/skin/SkinTabLayout.h"
#include "device/HotplugMonitor.h"
#include "mouse/CPopPush.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace varnix::test {
namespace {

int deviceIndex(CMainWnd& window, const std::string& name) {
    const auto& devices = window.catalogue().DeviceList;
    for (int i = 0; i < int(devices.size()); ++i)
        if (devices[i].DevName == name)
            return i;
    return -1;
}

void click(CMainWnd& window, const QString& name) {
    SkinControl* control = window.findControl(name);
    ASSERT_NE(control, nullptr) << name.toStdString();
    QTest::mouseClick(control->widget(), Qt::LeftButton);
}

TEST(MainWindowTest, ThreeDemoDevicesGiveThreeCardsAndEnabledTabs) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    EXPECT_EQ(window.size(), QSize(CMainWnd::Width, CMainWnd::Height));
    EXPECT_EQ(window.barPositions().size(), 3u);
    for (int position = 0; position < 3; ++position) {
        SkinControl* card = window.findControl(QStringLiteral("btn_display%1").arg(position));
        ASSERT_NE(card, nullptr);
        const DeviceRecord& record = window.catalogue().DeviceList[window.barPositions()[position]];
        EXPECT_EQ(card->text().toStdString(), record.UITextName);
        EXPECT_TRUE(card->image(QStringLiteral("normalimage"))
                        .file()
                        .endsWith(QString::fromStdString(record.NormalImage)));
    }
    EXPECT_EQ(window.findControl(QStringLiteral("btn_display3")), nullptr);
    for (const char* name : {"btn_Mac", "btn_console", "tab_console"})
        EXPECT_TRUE(window.findControl(QString::fromLatin1(name))->isControlEnabled()) << name;
    // Device tabs stay hidden until a device is picked; the home page is shown.
    for (const char* name : {"btn_Null", "btn_kb", "btn_pad"})
        EXPECT_FALSE(window.findControl(QString::fromLatin1(name))->isControlVisible()) << name;
    EXPECT_EQ(window.find<SkinTabLayout>(QStringLiteral("tab_main"))->currentSel(), PageHome);
    EXPECT_EQ(window.selectedDevice(TabMouse), deviceIndex(window, "Tavro_Quenra-Rum1"));
    EXPECT_EQ(window.selectedDevice(TabKeyboard), deviceIndex(window, "Tavro_Quenra-Sel1"));
    EXPECT_EQ(window.selectedDevice(TabPad), deviceIndex(window, "Tavro_Quenra-Wel1"));
}

TEST(MainWindowTest, NoDeviceDisablesMacroAndHome) {
    UiFixture ui(std::vector<VirtualDeviceSetup>{});
    CMainWnd& window = ui.open();
    EXPECT_TRUE(window.barPositions().empty());
    for (const char* name : {"btn_Mac", "btn_console", "tab_console"})
        EXPECT_FALSE(window.findControl(QString::fromLatin1(name))->isControlEnabled()) << name;
    EXPECT_EQ(window.find<SkinTabLayout>(QStringLiteral("tab_main"))->currentSel(), PageHome);
}

TEST(MainWindowTest, CardClickShowsAndSelectsTheDeviceTab) {
    struct Case {
        int position;
        const char* tab;
        int page;
        int kind;
    };
    for (const Case& c :
         {Case{0, "btn_Null", PageMouse, TabMouse}, Case{1, "btn_kb", PageKeyboard, TabKeyboard},
          Case{2, "btn_pad", PagePad, TabPad}}) {
        UiFixture ui;
        CMainWnd& window = ui.open();
        const int index = window.barPositions()[c.position];
        const DeviceRecord& record = window.catalogue().DeviceList[index];
        click(window, QStringLiteral("btn_display%1").arg(c.position));
        auto* tab = window.find<SkinOption>(QString::fromLatin1(c.tab));
        ASSERT_NE(tab, nullptr);
        EXPECT_TRUE(tab->isControlVisible()) << c.tab;
        EXPECT_TRUE(tab->isSelected()) << c.tab;
        EXPECT_FALSE(window.find<SkinOption>(QStringLiteral("btn_console"))->isSelected());
        EXPECT_EQ(tab->text(), QString::fromStdString(record.UITextName).trimmed());
        EXPECT_EQ(window.find<SkinTabLayout>(QStringLiteral("tab_main"))->currentSel(), c.page);
        EXPECT_EQ(window.currentTabKind(), c.kind);
        EXPECT_EQ(window.shownDevice(), index);
        EXPECT_EQ(window.selectedDevice(c.kind), index);
        ASSERT_TRUE(record.WriteHandle);
        EXPECT_EQ(CurrentWriteHandle().get(), record.WriteHandle);
        ShellPage* page = window.pageOfKind(c.kind);
        EXPECT_GT(page->notificationCount(), 0);
        EXPECT_EQ(page->lastNotification().type, QStringLiteral("ClickDevice"));
        EXPECT_EQ(page->lastNotification().wParam, index);

        // Back home and to the tab again: the same device is shown.
        click(window, QStringLiteral("btn_console"));
        EXPECT_EQ(window.find<SkinTabLayout>(QStringLiteral("tab_main"))->currentSel(), PageHome);
        click(window, QString::fromLatin1(c.tab));
        EXPECT_EQ(window.find<SkinTabLayout>(QStringLiteral("tab_main"))->currentSel(), c.page);
        EXPECT_EQ(window.shownDevice(), index);
    }
}

TEST(MainWindowTest, DeviceTabsShareTheCaptionBarEvenly) {
    struct Case {
        int language; // 0 Chinese, 1 English: the shipped languages
        std::vector<int> cards;
        bool updateButtons = false; // the updater's two caption buttons shown as well
    };
    const std::vector<Case> cases = {{1, {0}},       {1, {0, 1}}, {1, {0, 1, 2}},
                                     {0, {0, 1, 2}}, {0, {2, 1}}, {1, {0, 1, 2}, true}};
    for (const Case& c : cases) {
        UiFixture ui(demoDevices(),
                     "[Set]\nLanguage=" + std::to_string(c.language) + "\nDpiPopEn=0\n");
        CMainWnd& window = ui.open();
        for (int card : c.cards)
            click(window, QStringLiteral("btn_display%1").arg(card));
        if (c.updateButtons)
            for (const char* name : {"btn_update", "modal_popwnd_btn"})
                window.findControl(QString::fromLatin1(name))->setControlVisible(true);
        const std::string label = "language " + std::to_string(c.language) + ", " +
                                  std::to_string(c.cards.size()) + " tabs";

        // The caption bar's controls in their order, each inside the window, none overlapping.
        std::vector<QRect> row;
        std::vector<int> deviceTabWidths;
        for (const char* name :
             {"btn_console", "btn_Mac", "btn_Null", "btn_kb", "btn_pad", "btn_update",
              "modal_popwnd_btn", "btn_set", "btn_min", "btn_close"}) {
            SkinControl* control = window.findControl(QString::fromLatin1(name));
            ASSERT_NE(control, nullptr) << name;
            QWidget* widget = control->widget();
            if (!widget->isVisible())
                continue;
            const QRect area(widget->mapTo(&window, QPoint(0, 0)), widget->size());
            EXPECT_TRUE(window.rect().contains(area)) << label << ": " << name;
            if (!row.empty()) {
                EXPECT_LT(row.back().right(), area.left()) << label << ": " << name;
            }
            row.push_back(area);
            if (std::string_view(name) == "btn_Null" || std::string_view(name) == "btn_kb" ||
                std::string_view(name) == "btn_pad")
                deviceTabWidths.push_back(area.width());
        }
        ASSERT_EQ(deviceTabWidths.size(), c.cards.size()) << label;
        for (int width : deviceTabWidths) {
            EXPECT_EQ(width, deviceTabWidths.front()) << label;
            EXPECT_LE(width, 170) << label;
            EXPECT_GE(width, 100) << label;
        }
        // Each shown tab names its device in full in its tooltip.
        for (int card : c.cards) {
            const DeviceRecord& record = window.catalogue().DeviceList[window.barPositions()[card]];
            const char* tab = record.DevType == DevTypeMouse ? "btn_Null"
                              : record.DevType == DevTypePad ? "btn_pad"
                                                             : "btn_kb";
            EXPECT_EQ(window.findControl(QString::fromLatin1(tab))->widget()->toolTip(),
                      QString::fromStdString(record.UITextName).trimmed())
                << label;
        }
    }
}

TEST(MainWindowTest, CardPicturesAreDrawnWholeAndUnscaled) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    for (int position = 0; position < int(window.barPositions().size()); ++position) {
        SkinControl* card = window.findControl(QStringLiteral("btn_display%1").arg(position));
        ASSERT_NE(card, nullptr);
        for (const char* state : {"normalimage", "hotimage", "pushedimage"}) {
            const SkinImage picture = card->image(QString::fromLatin1(state));
            const QPixmap pixels = picture.pixmap();
            ASSERT_FALSE(pixels.isNull()) << position << " " << state;
            EXPECT_EQ(picture.dest().size(), pixels.size()) << position << " " << state;
            EXPECT_TRUE(card->widget()->rect().contains(picture.dest()))
                << position << " " << state;
        }
    }
}

// The names of the controls Tab reaches from the one with the focus, `steps` times.
QStringList tabWalk(CMainWnd& window, int steps) {
    QStringList names;
    for (int step = 0; step < steps; ++step) {
        QWidget* focus = QApplication::focusWidget();
        names << (focus ? focus->objectName() : QStringLiteral("(none)"));
        QTest::keyClick(focus ? focus : static_cast<QWidget*>(&window), Qt::Key_Tab);
    }
    return names;
}

TEST(MainWindowTest, TabWalksTabsThenCaptionButtonsThenCards) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (int card = 0; card < 3; ++card)
        click(window, QStringLiteral("btn_display%1").arg(card));
    pumpEvents(20);
    window.findControl(QStringLiteral("btn_console"))->widget()->setFocus(Qt::TabFocusReason);
    // After the cards comes the page shown: the pad's, whose first control is its mode list.
    // The version window's button is in the caption; the updater's is not (none is installed).
    const QStringList wanted = {
        "btn_console",      "btn_Mac",      "btn_Null",          "btn_kb",    "btn_pad",
        "modal_popwnd_btn", "btn_set",      "btn_min",           "btn_close", "btn_display0",
        "btn_display1",     "btn_display2", "btn_PadLed_LedMode"};
    EXPECT_EQ(tabWalk(window, int(wanted.size())), wanted);
}

TEST(MainWindowTest, ReturnOrSpaceOnAFocusedControlPressesOnlyIt) {
    struct Case {
        const char* control;
        Qt::Key key;
        int tabKind;    // the device tab shown afterwards
        bool minimized; // only btn_min minimises
        bool visible;   // only btn_close hides (and, without a tray, ends the program)
    };
    for (const Case& c : {Case{"btn_display1", Qt::Key_Return, TabKeyboard, false, true},
                          Case{"btn_display2", Qt::Key_Space, TabPad, false, true},
                          Case{"btn_Mac", Qt::Key_Return, TabNone, false, true},
                          Case{"btn_min", Qt::Key_Return, TabNone, true, true},
                          Case{"btn_min", Qt::Key_Space, TabNone, true, true},
                          Case{"btn_close", Qt::Key_Return, TabNone, false, false}}) {
        UiFixture ui;
        CMainWnd& window = ui.open();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QSignalSpy exits(&window, &CMainWnd::exitRequested);
        QWidget* control = window.findControl(QString::fromLatin1(c.control))->widget();
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, c.key);
        pumpEvents(20);
        const std::string label = std::string(c.control) + " " + std::to_string(c.key);
        EXPECT_EQ(window.currentTabKind(), c.tabKind) << label;
        EXPECT_EQ(window.isMinimized(), c.minimized) << label;
        EXPECT_EQ(window.isVisible(), c.visible) << label;
        EXPECT_EQ(exits.count(), c.visible ? 0 : 1) << label;
        // The pages heard that control last (the home page takes everything while it is shown).
        const std::string_view name(c.control);
        if (name == "btn_Mac") {
            EXPECT_EQ(window.macroPage().lastNotification().senderName, QStringLiteral("btn_Mac"));
        } else if (c.tabKind == TabNone) {
            EXPECT_EQ(window.homePage().lastNotification().senderName,
                      QString::fromLatin1(c.control))
                << label;
        }
    }
}

TEST(MainWindowTest, NewlyPluggedMouseBecomesTheSelectedMouse) {
    UiFixture ui(
        {simDevice(0x1441, "Tavro_Quenra-Rum1"), simDevice(0x1441, "Tavro_Quenra-Rum2", false)});
    CMainWnd& window = ui.open();
    const int first = deviceIndex(window, "Tavro_Quenra-Rum1");
    const int second = deviceIndex(window, "Tavro_Quenra-Rum2");
    EXPECT_EQ(window.selectedDevice(TabMouse), first);
    EXPECT_EQ(window.barPositions().size(), 1u);

    ui.backend.plug(1);
    const std::string name = deviceInterfaceName(FamilyVendorId, 0x1441, ui.backend.readPath(1));
    EXPECT_TRUE(window.OnDeviceChange(DeviceChangeEvent::Arrival, name));
    EXPECT_EQ(window.barPositions().size(), 2u);
    EXPECT_EQ(window.selectedDevice(TabMouse), second);

    ui.backend.unplug(1);
    EXPECT_TRUE(window.OnDeviceChange(DeviceChangeEvent::Removal, name));
    EXPECT_EQ(window.barPositions().size(), 1u);
    EXPECT_EQ(window.selectedDevice(TabMouse), first);
}

TEST(MainWindowTest, AKeyboardPluggedInLeavesTheShownKeyboardTheWriteTarget) {
    UiFixture ui(
        {simDevice(0x2351, "Tavro_Quenra-Sel1"), simDevice(0x2351, "Tavro_Quenra-Sel2", false)});
    CMainWnd& window = ui.open();
    click(window, QStringLiteral("btn_display0"));
    const int shown = deviceIndex(window, "Tavro_Quenra-Sel1");
    ASSERT_EQ(window.shownDevice(), shown);
    ui.backend.plug(1);
    EXPECT_TRUE(
        window.OnDeviceChange(DeviceChangeEvent::Arrival,
                              deviceInterfaceName(FamilyVendorId, 0x2351, ui.backend.readPath(1))));
    EXPECT_EQ(window.barPositions().size(), 2u);
    EXPECT_EQ(window.shownDevice(), shown);
    EXPECT_EQ(CurrentWriteHandle().get(), window.catalogue().DeviceList[shown].WriteHandle);
}

TEST(MainWindowTest, ShownDeviceLeavingReturnsToHome) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    click(window, QStringLiteral("btn_display1"));
    ASSERT_EQ(window.currentTabKind(), TabKeyboard);
    ui.backend.unplug(1);
    EXPECT_TRUE(
        window.OnDeviceChange(DeviceChangeEvent::Removal,
                              deviceInterfaceName(FamilyVendorId, 0x2351, ui.backend.readPath(1))));
    EXPECT_FALSE(window.findControl(QStringLiteral("btn_kb"))->isControlVisible());
    EXPECT_EQ(window.find<SkinTabLayout>(QStringLiteral("tab_main"))->currentSel(), PageHome);
    EXPECT_EQ(window.barPositions().size(), 2u);
}

TEST(MainWindowTest, CloseHidesToTheTrayAndOnlyExitEnds) {
    UiFixture ui;
    CMainWnd& window = ui.open(true);
    ASSERT_TRUE(window.hasTray());
    QSignalSpy exits(&window, &CMainWnd::exitRequested);
    click(window, QStringLiteral("btn_close"));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(exits.count(), 0);
    window.onMenuItem(QStringLiteral("show"));
    EXPECT_TRUE(window.isVisible());
    window.onMenuItem(QStringLiteral("exit"));
    EXPECT_EQ(exits.count(), 1);
    EXPECT_FALSE(window.hasTray());
}

TEST(MainWindowTest, WithoutATrayClosingEndsTheProgram) {
    UiFixture ui;
    CMainWnd& window = ui.open(false);
    ASSERT_FALSE(window.hasTray());
    QSignalSpy exits(&window, &CMainWnd::exitRequested);
    window.close();
    EXPECT_EQ(exits.count(), 1);
}

TEST(MainWindowTest, LanguageOutsideTheTableShowsEnglishAndWritesNothing) {
    const std::string settings = "[Set]\nLanguage=99\nDpiPopEn=0\n";
    UiFixture ui(demoDevices(), settings);
    CMainWnd& window = ui.open();
    EXPECT_EQ(window.languageIndex(), 99);
    EXPECT_EQ(window.findControl(QStringLiteral("lab_PublicLed_title"))->text(),
              QStringLiteral("One effect for all devices"));
    EXPECT_EQ(window.findControl(QStringLiteral("btn_Mac"))->text(), QStringLiteral("Macros"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Varnix"));
    EXPECT_EQ(readTextFile(ui.root() / "Set.ini"), settings);
    // The settings menu marks English as the language shown.
    auto menu = window.buildSettingsMenu();
    ASSERT_TRUE(menu);
    auto* english = menu->findChild<QAction*>(QStringLiteral("lan_en"));
    ASSERT_NE(english, nullptr);
    EXPECT_TRUE(english->isChecked());
    EXPECT_EQ(menu->findChildren<QAction*>().size() >= 25, true);
}

TEST(MainWindowTest, ChoosingTheActiveLanguageWritesNothingAnotherSwitchesTexts) {
    const std::string settings = "[Set]\nLanguage=1\nDpiPopEn=0\n";
    UiFixture ui(demoDevices(), settings);
    CMainWnd& window = ui.open();
    EXPECT_FALSE(window.SelectLanguage(QStringLiteral("LAN_EN")));
    EXPECT_EQ(readTextFile(ui.root() / "Set.ini"), settings);
    EXPECT_EQ(window.mousePage().languageChanges(), 1);

    window.onMenuItem(QStringLiteral("lan_cn"));
    EXPECT_EQ(window.languageIndex(), 0);
    EXPECT_NE(readTextFile(ui.root() / "Set.ini").find("Language=0"), std::string::npos);
    EXPECT_EQ(window.findControl(QStringLiteral("lab_PublicLed_title"))->text(),
              QString::fromUtf8("所有设备，同一灯效"));
    EXPECT_EQ(window.mousePage().languageChanges(), 2);
}

TEST(MainWindowTest, DpiPopupItemFlipsAndStoresTheFlag) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    window.onMenuItem(QStringLiteral("dpipopck"));
    EXPECT_TRUE(window.settings().dpiPopupEnabled());
    EXPECT_NE(readTextFile(ui.root() / "Set.ini").find("DpiPopEn=1"), std::string::npos);
}

TEST(MainWindowTest, PageMessagesReachTheirPages) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    window.sendMessage(2034, 2, 1); // keyboard page, operation 1
    EXPECT_EQ(window.keyboardPage().lastNotification().type, QStringLiteral("WM_DeviceConfig"));
    window.sendMessage(2025, 4, 0); // colour picker for the home page
    EXPECT_EQ(window.homePage().lastNotification().type, QStringLiteral("popcolor_ok"));
    const int before = window.mousePage().notificationCount();
    window.sendMessage(2025, 9, 0); // no such page: consumed
    EXPECT_EQ(window.mousePage().notificationCount(), before);
    window.postMessage(2031, 0x102, 0);
    pumpEvents(20);
    EXPECT_EQ(window.mousePage().deviceMessages(), 1);
}

TEST(MainWindowTest, DpiKeyOnTheMouseStoresTheStageAndShowsThePopup) {
    UiFixture ui(demoDevices(), "[Set]\nLanguage=1\nDpiPopEn=1\n");
    CMainWnd& window = ui.open();
    const std::filesystem::path config = ui.root() / "MouseKorv/MouseA/Config/MouseConfig.json";
    // Key 6 is button 5, which switches the DPI stage; the model holds the long-hold switch on.
    ui.backend.injectInputReport(0, {6, 240 + 6, 0x80 | 3});
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 3000 &&
           readTextFile(config).find("\"cruseldpi\": 3") == std::string::npos)
        pumpEvents(20);
    EXPECT_NE(readTextFile(config).find("\"cruseldpi\": 3"), std::string::npos);
    // The mouse's page is not shown: the stored stage and the mouse's name in the DPI notice.
    ASSERT_NE(window.dpiPopup(), nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(window.dpiPopup()->isVisible(), 3000);
    EXPECT_EQ(window.dpiPopup()->findControl(QStringLiteral("dpilevel"))->text(),
              QStringLiteral("4"));
    EXPECT_EQ(window.dpiPopup()->findControl(QStringLiteral("dev_name"))->text(),
              QStringLiteral("Tavro_Quenra-Rum1"));
}

} // namespace
} // namespace varnix::test
