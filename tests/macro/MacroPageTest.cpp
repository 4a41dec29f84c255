// SPDX-License-Identifier: GPL-3.0-or-later
// The macro page on the main window: recording, renames, limits, group files, bound macros.
#include "macro/MacroPage.h"

#include "app/FileDialogService.h"
#include "app/PopupService.h"
#include "app/skin/SkinCheckBox.h"
#include "app/skin/SkinEdit.h"
#include "app/skin/SkinList.h"
#include "app/skin/SkinTree.h"
#include "app/skin/SkinTreeNode.h"
#include "macro/CPopMacroSetWnd.h"
#include "tests/app/UiFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace varnix::test {
namespace {

namespace fs = std::filesystem;

struct Popups {
    explicit Popups(int answer = 0) {
        PopupService::setResponder([this, answer](const PopupRequest& request) {
            requests.push_back(request);
            return answer;
        });
    }
    ~Popups() { PopupService::setResponder({}); }
    std::vector<PopupRequest> requests;
};

class MacroPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = &ui.open();
        click(QStringLiteral("btn_Mac"));
        pumpEvents(20);
        ASSERT_TRUE(page().isBuilt());
    }
    void TearDown() override {
        FileDialogService::setResponder({});
        CPopMacroSetWnd::setResponder({});
    }
    MacroPage& page() { return static_cast<MacroPage&>(window->macroPage()); }
    MacroStore& store() { return page().model().store(); }
    void click(const QString& name) {
        SkinControl* control = window->findControl(name);
        ASSERT_NE(control, nullptr) << name.toStdString();
        QTest::mouseClick(control->widget(), Qt::LeftButton);
    }
    SkinTree* tree() { return window->find<SkinTree>(QStringLiteral("tre_Macro_GroupDisplay")); }
    SkinList* items() { return window->find<SkinList>(QStringLiteral("list_Macro_KeyDisplay")); }
    // Clicks the tree node of macro m of group g.
    void selectMacro(int g, int m) {
        const int index = page().model().treeIndexOf(g, m);
        ASSERT_GE(index, 0);
        auto* node = dynamic_cast<SkinTreeNode*>(tree()->itemAt(index));
        ASSERT_NE(node, nullptr);
        QTest::mouseClick(node->widget(), Qt::LeftButton, {}, QPoint(60, 10));
        pumpEvents(10);
    }
    void key(QEvent::Type type, Qt::Key qtKey, int evdev) {
        QWidget* grabber = QWidget::keyboardGrabber();
        ASSERT_NE(grabber, nullptr) << "nothing grabs the keyboard";
        QKeyEvent event(type, qtKey, Qt::NoModifier, quint32(evdev + 8), 0, 0);
        QApplication::sendEvent(grabber, &event);
    }
    MacroStore reloaded() {
        MacroStore again(ui.root());
        EXPECT_TRUE(again.LoadMacroFile());
        return again;
    }

    UiFixture ui;
    CMainWnd* window = nullptr;
};

TEST_F(MacroPageTest, TheShippedGroupIsShownAndAMacroShowsItsItems) {
    ASSERT_EQ(store().groups.size(), 1u);
    EXPECT_EQ(tree()->count(), 4);
    selectMacro(0, 0);
    EXPECT_EQ(page().model().selectedMacro(), 0);
    EXPECT_EQ(items()->count(), 4);
}

TEST_F(MacroPageTest, RecordingTakesKeysTabIncludedAndMouseClicks) {
    Popups popups;
    selectMacro(0, 1);
    click(QStringLiteral("btn_Macro_Record"));
    pumpEvents(10);
    ASSERT_TRUE(page().isRecording());
    EXPECT_TRUE(window->find<SkinCheckBox>(QStringLiteral("btn_Macro_Record"))->getCheck());
    QWidget* focusBefore = QApplication::focusWidget();
    key(QEvent::KeyPress, Qt::Key_A, 30);
    pumpEvents(15);
    key(QEvent::KeyPress, Qt::Key_Tab, 15);
    key(QEvent::KeyRelease, Qt::Key_Tab, 15);
    key(QEvent::KeyRelease, Qt::Key_A, 30);
    EXPECT_EQ(QApplication::focusWidget(), focusBefore) << "Tab moved the focus";
    // A right click on the item list is recorded, not acted on.
    QTest::mouseClick(items()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(items()->count(), 6) << "items appear as they come";
    click(QStringLiteral("btn_Macro_Record"));
    pumpEvents(10);
    EXPECT_FALSE(page().isRecording());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    EXPECT_FALSE(window->find<SkinCheckBox>(QStringLiteral("btn_Macro_Record"))->getCheck());

    const MacroData data = reloaded().groups[0].macros[1].data;
    ASSERT_EQ(data.num, 6);
    const std::uint8_t values[] = {0x04, 0x2B, 0x2B, 0x04, 243, 243};
    const std::uint8_t states[] = {1, 1, 2, 2, 1, 2};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(data.macVal[i], values[i]);
        EXPECT_EQ(data.macSta[i], states[i]);
        EXPECT_LT(data.macDly[i], 60000);
    }
    EXPECT_GE(data.macDly[0], 10) << "the pause after A was kept";
    EXPECT_EQ(data.macDly[5], 20);
    EXPECT_EQ(data.macRpt, 1);
    EXPECT_TRUE(popups.requests.empty());
}

TEST_F(MacroPageTest, LeavingThePageEndsTheRecordingAndKeepsIt) {
    selectMacro(0, 0);
    click(QStringLiteral("btn_Macro_Record"));
    key(QEvent::KeyPress, Qt::Key_B, 48);
    click(QStringLiteral("btn_console"));
    pumpEvents(10);
    EXPECT_FALSE(page().isRecording());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    EXPECT_EQ(reloaded().groups[0].macros[0].data.num, 1);
}

TEST_F(MacroPageTest, RecordingAGroupAsksForAMacro) {
    Popups popups;
    selectMacro(0, -1);
    click(QStringLiteral("btn_Macro_Record"));
    pumpEvents(10);
    EXPECT_FALSE(page().isRecording());
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].text, window->messageText(QStringLiteral("SelMacro")));
}

TEST_F(MacroPageTest, RenameToEmptyRestoresTheName) {
    selectMacro(0, 0);
    auto* node = dynamic_cast<SkinTreeNode*>(tree()->itemAt(page().model().treeIndexOf(0, 0)));
    SkinNotify menu;
    menu.type = QStringLiteral("MyMenuClick");
    QString item = QStringLiteral("marco_rename");
    menu.wParam = reinterpret_cast<qintptr>(&item);
    QTest::mouseClick(node->widget(), Qt::RightButton, {}, QPoint(60, 10));
    page().notify(menu);
    auto* edit = dynamic_cast<SkinEdit*>(node->findSubControl(QStringLiteral("EditMacNode")));
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(edit->isControlVisible());
    edit->setText(QString());
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(edit->isControlVisible());
    EXPECT_EQ(node->itemText(), QStringLiteral("Copy"));
    EXPECT_EQ(reloaded().groups[0].macros[0].name, "Copy");
}

TEST_F(MacroPageTest, AFullMacroRefusesTheInsertMenu) {
    Popups popups;
    selectMacro(0, 0);
    while (store().current.data.num < 110)
        ASSERT_TRUE(page().model().insertItem(-1, {4, "A", 1, 10}));
    click(QStringLiteral("btn_Macro_InsertKey"));
    pumpEvents(20);
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].text, window->messageText(QStringLiteral("Exceed")));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a menu opened";
}

TEST_F(MacroPageTest, TheInsertMenuAndThePopupAddAnItemAfterTheRow) {
    selectMacro(0, 0);
    items()->selectItem(1, false);
    CPopMacroSetWnd::setResponder([](const MacroItemRequest& request) {
        MacroItemView item = request.item;
        item.text = "[→]:12,[↑]:7";
        item.status = 6;
        return std::optional<MacroItemView>(item);
    });
    SkinNotify menu;
    menu.type = QStringLiteral("MyMenuClick");
    QString after = QStringLiteral("opt_InsertAfter");
    QString move = QStringLiteral("menu_Macro_InsertXY");
    menu.wParam = reinterpret_cast<qintptr>(&after);
    page().notify(menu);
    menu.wParam = reinterpret_cast<qintptr>(&move);
    page().notify(menu);
    pumpEvents(10);
    EXPECT_EQ(items()->count(), 5);
    EXPECT_EQ(items()->currentSel(), 2);
    const MacroData data = reloaded().groups[0].macros[0].data;
    EXPECT_EQ(data.macVal[2], 246);
    EXPECT_EQ(data.extVal[2], (MacroExtValue{12, 7}));
}

TEST_F(MacroPageTest, ImportingTwiceGivesTwoGroupsAndExportRoundTrips) {
    Popups popups;
    const fs::path file = ui.dir.path() / "Default.Macro.Config";
    FileDialogService::setResponder([&](FileDialogKind, const FileDialogRequest& request) {
        EXPECT_TRUE(request.filter.contains(QStringLiteral("Config Flie(*.Macro.Config)")));
        EXPECT_EQ(request.defaultSuffix, QStringLiteral("Config"));
        return QString::fromStdString(file.string());
    });
    selectMacro(0, -1);
    SkinNotify menu;
    menu.type = QStringLiteral("MyMenuClick");
    QString exportItem = QStringLiteral("group_export");
    QString importItem = QStringLiteral("group_import");
    menu.wParam = reinterpret_cast<qintptr>(&exportItem);
    page().notify(menu);
    ASSERT_TRUE(fs::exists(file));
    menu.wParam = reinterpret_cast<qintptr>(&importItem);
    page().notify(menu);
    selectMacro(1, -1);
    page().notify(menu);
    EXPECT_TRUE(popups.requests.empty());
    const MacroStore again = reloaded();
    ASSERT_EQ(again.groups.size(), 3u);
    EXPECT_EQ(again.groups[1].name, "Default0");
    EXPECT_EQ(again.groups[2].name, "Default1");
    EXPECT_NE(again.groups[1].guid, again.groups[2].guid);
    EXPECT_EQ(again.groups[1].macros, again.groups[0].macros) << "the same macros come back";
    EXPECT_EQ(page().model().selectedGroup(), 2) << "the imported group is selected";
    EXPECT_EQ(tree()->count(), 12);
}

TEST_F(MacroPageTest, ABoundMacroAsksBeforeDeletionAndBindingsShow) {
    MacroStore device(ui.root());
    ASSERT_TRUE(device.LoadMacroFile());
    device.groups[0].macros[2].bindKeyCount = 1;
    device.groups[0].macros[2].bindings["Tavro Sel1"] = {{"KBProfile1", "F5"}};
    device.RebuildDocument();
    ASSERT_TRUE(device.SaveMacroFile());
    window->postMessage(WM_MacroTakeKeys, PageCodeKeyboard, 0);
    pumpEvents(20);
    selectMacro(0, 2);
    EXPECT_TRUE(window->findControl(QStringLiteral("VLayout_BindKeys_Info"))->isControlVisible());
    EXPECT_EQ(window->find<SkinList>(QStringLiteral("VLayout_BindKeys"))->count(), 1);

    SkinNotify menu;
    menu.type = QStringLiteral("MyMenuClick");
    QString item = QStringLiteral("marco_delete");
    menu.wParam = reinterpret_cast<qintptr>(&item);
    auto* node = dynamic_cast<SkinTreeNode*>(tree()->itemAt(page().model().treeIndexOf(0, 2)));
    {
        Popups refuse(0);
        QTest::mouseClick(node->widget(), Qt::RightButton, {}, QPoint(60, 10));
        page().notify(menu);
        ASSERT_EQ(refuse.requests.size(), 1u);
        EXPECT_EQ(refuse.requests[0].kind, PopupKind::Question);
        EXPECT_EQ(reloaded().groups[0].macros.size(), 3u);
    }
    Popups confirm(1);
    QTest::mouseClick(node->widget(), Qt::RightButton, {}, QPoint(60, 10));
    page().notify(menu);
    EXPECT_EQ(reloaded().groups[0].macros.size(), 2u);
    EXPECT_EQ(page().model().selectedMacro(), 1);
}

} // namespace
} // namespace varnix::test
