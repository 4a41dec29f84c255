// SPDX-License-Identifier: GPL-3.0-or-later
// The macro page's rules without a window: fields, positions, names, refusals, popup fields.
#include "macro/MacroPageModel.h"

#include "tests/macro/MacroTestSupport.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

using test::isOk;

TEST(MacroPageRulesTest, RepeatCountFieldKeepsOneToMax) {
    struct Case {
        const char* typed;
        const char* shown;
        int count;
    };
    const Case cases[] = {{"70000", "65535", 65535},
                          {"", "1", 1},
                          {"0", "1", 1},
                          {"abc", "1", 1},
                          {"65535", "65535", 65535},
                          {"12", "12", 12},
                          {"99999999999999", "65535", 65535}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(repeatCountFieldText(c.typed), c.shown);
        EXPECT_EQ(repeatCountOf(repeatCountFieldText(c.typed)), c.count);
    }
}

TEST(MacroPageRulesTest, InsertPositionAndRowAfterDelete) {
    EXPECT_EQ(insertPosition(-1, macropage::InsertAfter, 5), 0) << "no row: always the top";
    EXPECT_EQ(insertPosition(-1, macropage::InsertBefore, 0), 0);
    EXPECT_EQ(insertPosition(2, macropage::InsertBefore, 5), 2);
    EXPECT_EQ(insertPosition(2, macropage::InsertAfter, 5), 3);
    EXPECT_EQ(insertPosition(4, macropage::InsertAfter, 5), 5);
    EXPECT_EQ(insertPosition(7, macropage::InsertAfter, 5), 0) << "a stale row counts as none";

    EXPECT_EQ(rowAfterDelete(1, 4), 1) << "the next row takes its place";
    EXPECT_EQ(rowAfterDelete(4, 4), 3) << "the last went: the new last row";
    EXPECT_EQ(rowAfterDelete(0, 0), -1);
}

TEST(MacroPageRulesTest, ListRowsShowTypeStatusAndDelay) {
    const std::vector<MacroItemView> items = {
        {4, "A", 1, 30},           {0, "[Delay]", 0, 5},        {241, "Left Click", 2, 10},
        {248, "[DPI]:800 ", 9, 0}, {246, "[→]:12,[↑]:7", 6, 1}, {0, "[Delay]", 0, 2}};
    const std::vector<MacroListRow> rows = macroListRows(items);
    ASSERT_EQ(rows.size(), items.size());
    EXPECT_EQ(rows[0].typeImage, macropage::KeyboardIcon);
    EXPECT_EQ(rows[0].optionImage, macropage::PressIcon);
    EXPECT_EQ(rows[0].delay, "30 ms");
    EXPECT_EQ(rows[1].type, MacroItemType::Keyboard) << "a delay repeats the row before";
    EXPECT_EQ(rows[1].optionImage, "");
    EXPECT_EQ(rows[2].typeImage, macropage::MouseIcon);
    EXPECT_EQ(rows[2].optionImage, macropage::ReleaseIcon);
    EXPECT_EQ(rows[3].type, MacroItemType::Mouse) << "DPI repeats the row before";
    EXPECT_EQ(rows[4].typeImage, macropage::MoveIcon);
    EXPECT_EQ(rows[4].optionImage, "MacroKorv/png/4.png");
    EXPECT_EQ(rows[5].type, MacroItemType::Move);
    EXPECT_EQ(rows[4].key, "[→]:12,[↑]:7");
}

TEST(MacroPageRulesTest, PopupFieldsRoundTripEveryType) {
    // A pointer move made with "[→]:%s,[↑]:%s": entry 3, X 12, Y 7, the same text back.
    const MacroItemView move{246, "[→]:12,[↑]:7", 6, 40};
    const macroitem::Fields fields = macroitem::fieldsOf(move);
    EXPECT_EQ(fields.type, macroitem::TypeMove);
    EXPECT_EQ(fields.directionEntry, 3);
    EXPECT_EQ(fields.x, "12");
    EXPECT_EQ(fields.y, "7");
    EXPECT_EQ(macroitem::directionBoxes(3), std::make_pair(true, true));
    EXPECT_EQ(macroitem::directionBoxes(1), std::make_pair(false, true));
    const MacroItemView back = macroitem::itemOf(fields);
    EXPECT_EQ(back.text, move.text);
    EXPECT_EQ(back.status, 6);
    EXPECT_EQ(back.delay, 40);
    EXPECT_EQ(parsePointerMoveText(back.text), (MacroExtValue{12, 7}));

    const MacroItemView right{243, "Right Click", 2, 10};
    const macroitem::Fields mouse = macroitem::fieldsOf(right);
    EXPECT_EQ(mouse.type, macroitem::TypeMouse);
    EXPECT_EQ(mouse.mouseEntry, 2);
    EXPECT_TRUE(mouse.release);
    EXPECT_EQ(macroitem::itemOf(mouse).text, "Right Click");
    EXPECT_EQ(macroitem::itemOf(mouse).status, 2);

    macroitem::Fields key = macroitem::fieldsOf({4, "A", 1, 10});
    EXPECT_EQ(key.type, macroitem::TypeKeyboard);
    EXPECT_FALSE(key.release);
    key.release = true;
    key.delay = "20000";
    const MacroItemView keyBack = macroitem::itemOf(key);
    EXPECT_EQ(keyBack.value, 4u);
    EXPECT_EQ(keyBack.status, 2);
    EXPECT_EQ(keyBack.delay, 10000) << "the delay is cut at 10000";
    EXPECT_EQ(macroitem::delayFieldText("20000"), "10000");
    EXPECT_EQ(macroitem::delayFieldText("9999"), "9999");
}

TEST(MacroPageRulesTest, PointerMoveFieldsKeepWhatIsNotANumber) {
    EXPECT_EQ(macroitem::pointerMoveFields("[←]:0,[↓]:1"),
              std::make_pair(std::string("0"), std::string("1")));
    EXPECT_EQ(macroitem::pointerMoveFields("[←]:x,[↓]:"),
              std::make_pair(std::string("x"), std::string()));
    EXPECT_EQ(macroitem::pointerMoveFields("bad"), std::make_pair(std::string(), std::string()));
    // Distances that are no number reach the store as text and become 0 there.
    EXPECT_EQ(parsePointerMoveText(macroitem::pointerMoveItemText(0, "ab", "5")),
              (MacroExtValue{0, 5}));
}

class MacroPageModelTest : public ::testing::Test {
protected:
    MacroPageModelTest() : model(root.path()) {}
    MacroStore& store() { return model.store(); }

    test::TempDir root;
    MacroPageModel model;
};

TEST_F(MacroPageModelTest, NewGroupsAndMacrosGetUniqueNamesAndRepeatOnce) {
    ASSERT_TRUE(isOk(model.addMacro("New Group", "New Macro"))) << "an empty tree adds a group";
    ASSERT_EQ(store().groups.size(), 1u);
    EXPECT_EQ(store().groups[0].name, "New Group");
    EXPECT_EQ(store().groups[0].macros[0].name, "New Macro");
    EXPECT_EQ(store().groups[0].macros[0].data.macRpt, 1);
    ASSERT_TRUE(isOk(model.addMacro("New Group", "New Macro")));
    EXPECT_EQ(store().groups[0].macros[1].name, "New Macro0");
    EXPECT_EQ(model.selectedMacro(), 1);
    ASSERT_TRUE(isOk(model.addGroup("New Group", "New Macro")));
    EXPECT_EQ(store().groups[1].name, "New Group0");
    EXPECT_EQ(store().groups[1].macros[0].name, "New Macro") << "names are unique per group";
    EXPECT_EQ(model.treeEntries().size(), 5u);
    EXPECT_EQ(model.treeIndexOf(1, 0), 4);

    // A macro added while the first macro is selected goes right after it.
    model.selectMacro(0, 0);
    ASSERT_TRUE(isOk(model.addMacro("New Group", "New Macro")));
    EXPECT_EQ(store().groups[0].macros[1].name, "New Macro1");
    EXPECT_EQ(model.selectedMacro(), 1);
}

TEST_F(MacroPageModelTest, RenameRestoresEmptyAndNumbersASiblingsName) {
    model.addMacro("New Group", "New Macro");
    model.addMacro("New Group", "New Macro");
    EXPECT_EQ(model.renameMacro(0, 1, ""), "New Macro0") << "empty restores";
    EXPECT_EQ(model.renameMacro(0, 1, "Other"), "Other");
    EXPECT_EQ(model.renameMacro(0, 1, "New Macro"), "New Macro0")
        << "a sibling's name gets the next number";
    EXPECT_EQ(model.renameMacro(0, 1, "New Macro0"), "New Macro0") << "its own name is kept";
    EXPECT_EQ(model.renameMacro(0, 0, "Fire & Run"), "Fire & Run");
    EXPECT_EQ(model.renameGroup(0, ""), "New Group");
    EXPECT_EQ(model.renameGroup(0, "Games"), "Games");
    MacroStore reloaded(root.path());
    ASSERT_TRUE(isOk(reloaded.LoadMacroFile()));
    EXPECT_EQ(reloaded.groups[0].name, "Games");
    EXPECT_EQ(reloaded.groups[0].macros[0].name, "Fire & Run");
    EXPECT_EQ(reloaded.groups[0].macros[1].name, "New Macro0");
    EXPECT_EQ(model.store().current.name, "New Macro0")
        << "renaming another macro leaves the shown one";
}

TEST_F(MacroPageModelTest, RefusalsCarryThePageMessages) {
    EXPECT_EQ(model.checkInsert().messageKey, macropage::SelWarn);
    EXPECT_FALSE(model.checkRecord().hasMessage()) << "nothing selected: no message";
    model.addMacro("New Group", "New Macro");
    model.selectGroup(0);
    EXPECT_EQ(model.checkRecord().messageKey, macropage::SelMacro);
    EXPECT_EQ(model.deleteRow(-1).messageKey, macropage::SelOne);
    model.selectMacro(0, 0);
    EXPECT_TRUE(isOk(model.checkRecord()));
    for (int i = 0; i < 110; ++i)
        ASSERT_TRUE(isOk(model.insertItem(-1, {4, "A", 1, 10})));
    const Outcome full = model.checkInsert();
    EXPECT_EQ(full.messageKey, macropage::Exceed);
    EXPECT_EQ(full.titleKey, macropage::Tip);
    model.deleteRow(0);
    EXPECT_TRUE(isOk(model.checkInsert())) << "109 items may take one more";
}

TEST_F(MacroPageModelTest, ItemsGoBeforeOrAfterTheRowAndEditsKeepCounters) {
    model.addMacro("New Group", "New Macro");
    int at = -1;
    model.insertItem(-1, {4, "A", 1, 10}, &at);
    EXPECT_EQ(at, 0);
    model.insertItem(-1, {5, "B", 1, 10}, &at);
    EXPECT_EQ(model.rows()[0].value, 5u) << "without a row: the top";
    model.setInsertSide(macropage::InsertAfter);
    model.insertItem(0, {6, "C", 2, 10}, &at);
    EXPECT_EQ(at, 1);
    EXPECT_EQ(model.rows()[1].value, 6u);
    model.setInsertSide(macropage::InsertBefore);
    model.insertItem(2, {246, "[←]:3,[↓]:4", 3, 10}, &at);
    EXPECT_EQ(at, 2);
    EXPECT_EQ(store().current.data.extVal[2], (MacroExtValue{3, 4}));
    EXPECT_EQ(store().current.data.numXY, 1);

    ASSERT_TRUE(isOk(model.editItem(2, {246, "[→]:12,[↑]:7", 6, 99})));
    EXPECT_EQ(store().current.data.extVal[2], (MacroExtValue{12, 7}));
    EXPECT_EQ(store().current.data.macSta[2], 6);
    EXPECT_EQ(store().current.data.macDly[2], 99);
    ASSERT_TRUE(isOk(model.editItem(2, {4, "A", 1, 5})));
    EXPECT_EQ(store().current.data.numXY, 1) << "an edit does not adjust counters";

    int next = -1;
    ASSERT_TRUE(isOk(model.deleteRow(3, &next)));
    EXPECT_EQ(next, 2) << "deleting the last row selects the new last one";
    EXPECT_EQ(model.rows().size(), 3u);
    MacroStore reloaded(root.path());
    reloaded.LoadMacroFile();
    EXPECT_EQ(reloaded.groups[0].macros[0].data.num, 3);
}

TEST_F(MacroPageModelTest, RepeatControlsFollowTheMode) {
    model.addMacro("New Group", "New Macro");
    auto value = [&](const std::string& control, const std::string& attribute) {
        for (const ViewRow& row : model.repeatRows())
            if (row.control == control && row.attribute == attribute)
                return row.value;
        return std::string("?");
    };
    EXPECT_EQ(value("opt_Macro_CycleTimes", "selected"), "true");
    EXPECT_EQ(value("Edit_Macro_Time", "enabled"), "true");
    model.chooseRepeatOption(MacroStore::OptionCycleUntilRelease, "5");
    EXPECT_EQ(store().current.data.rptType & 3, 2);
    EXPECT_EQ(value("opt_Macro_CycleUntilRelease", "selected"), "true");
    EXPECT_EQ(value("Edit_Macro_Time", "enabled"), "false");
    EXPECT_EQ(value("Edit_Macro_Time", "text"), "1");
    model.chooseRepeatOption(MacroStore::OptionCycleTimes, "70000");
    EXPECT_EQ(store().current.data.macRpt, 65535);
    EXPECT_EQ(value("Edit_Macro_Time", "text"), "65535");
    model.selectGroup(0);
    EXPECT_EQ(value("opt_Macro_CycleTimes", "enabled"), "false");
}

TEST_F(MacroPageModelTest, ADevicesKeyListBeforeThePageWasOpenedLeavesTheMacroFileAlone) {
    MacroStore device(root.path());
    device.AddGroup(-1, "Group");
    device.AddMacro(0, -1, "Macro");
    device.groups[0].macros[0].bindKeyCount = 1;
    device.RebuildDocument();
    ASSERT_TRUE(isOk(device.SaveMacroFile()));
    const std::string written = test::readTextFile(root / "MacroKorv/MacroData/macroConfig.json");

    ASSERT_TRUE(isOk(model.takeBindingsFromFile())); // the page has not read the file yet
    EXPECT_EQ(test::readTextFile(root / "MacroKorv/MacroData/macroConfig.json"), written);
    ASSERT_TRUE(isOk(model.open()));
    EXPECT_EQ(store().groups.at(0).macros.at(0).bindKeyCount, 1);
}

TEST_F(MacroPageModelTest, BindingsComeFromADevicePageAndAskBeforeDeletion) {
    ASSERT_TRUE(model.open().ok());
    model.addMacro("New Group", "New Macro");
    model.addMacro("New Group", "New Macro");
    EXPECT_EQ(model.bindingRows()[0].value, "false") << "no bindings: labels hidden";

    MacroStore device(root.path());
    ASSERT_TRUE(isOk(device.LoadMacroFile()));
    device.groups[0].macros[1].bindKeyCount = 2;
    device.groups[0].macros[1].bindings["Tavro Sel1"] = {{"KBProfile1", "F1"},
                                                         {"KBProfile2", "F2"}};
    device.RebuildDocument();
    ASSERT_TRUE(isOk(device.SaveMacroFile()));
    ASSERT_TRUE(isOk(model.takeBindingsFromFile()));

    EXPECT_FALSE(model.macroIsBoundAt(0, 0));
    EXPECT_TRUE(model.macroIsBoundAt(0, 1));
    EXPECT_TRUE(model.groupIsBound(0));
    ASSERT_NE(model.shownMacro(), nullptr);
    const std::vector<MacroBindingRow> rows = macroBindingRows(*model.shownMacro());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], (MacroBindingRow{"Tavro Sel1", "KBProfile2", "F2"}));
    EXPECT_EQ(model.bindingRows()[2].value, "2");

    // An edit of the shown macro keeps the bindings in the file.
    model.insertItem(-1, {4, "A", 1, 10});
    MacroStore reloaded(root.path());
    reloaded.LoadMacroFile();
    EXPECT_EQ(reloaded.groups[0].macros[1].bindings.size(), 1u);

    ASSERT_TRUE(isOk(model.deleteMacro(0, 1)));
    EXPECT_EQ(model.selectedMacro(), 0) << "the last macro went: the new last one";
    ASSERT_TRUE(isOk(model.deleteGroup(0)));
    EXPECT_EQ(model.selectedGroup(), -1);
}

TEST_F(MacroPageModelTest, RecordingReplacesTheItemsOfTheSelectedMacro) {
    model.addMacro("New Group", "New Macro");
    model.insertItem(-1, {246, "[←]:1,[↓]:1", 3, 10});
    RecordingResult recording;
    recording.items = {{1, 4, 120}, {2, 4, 20}};
    ASSERT_TRUE(isOk(model.finishRecording(recording)));
    ASSERT_EQ(model.rows().size(), 2u);
    EXPECT_EQ(model.rows()[0].delay, 120);
    EXPECT_EQ(store().current.data.numXY, 0);
    MacroStore reloaded(root.path());
    reloaded.LoadMacroFile();
    EXPECT_EQ(reloaded.groups[0].macros[0].data.num, 2);
    EXPECT_EQ(reloaded.groups[0].macros[0].data.macSta[1], 2);
}

} // namespace
} // namespace varnix
