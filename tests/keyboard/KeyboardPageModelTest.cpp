// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard page's rules: the popup's tab and drop-down codes, macro slots and bind counts,
// Fn functions, knobs, locks, marks, legends and the macro cross-reference.
#include "keyboard/KeyboardPageModel.h"

#include "KeyboardTestModel.h"
#include "keyboard/KeyboardFiles.h"
#include "macro/XkbKeyboardLayout.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

namespace fs = std::filesystem;

TEST(KeyAssignmentTest, EachCodeRangeOpensItsTab) {
    struct Case {
        int code, defaultCode;
        KeySetTab tab;
    };
    const Case cases[] = {
        {0x04, 0x04, KeySetTab::Default},   {0xCB, 0xCB, KeySetTab::Default}, // a function code
        {165, 0x04, KeySetTab::Macro},      {173, 0x04, KeySetTab::Macro},
        {175, 0x04, KeySetTab::Macro},      {184, 0x04, KeySetTab::Macro},
        {192, 0x04, KeySetTab::Macro},      {176, 0x04, KeySetTab::System},
        {177, 0x04, KeySetTab::System},     {180, 0x04, KeySetTab::Special},
        {183, 0x04, KeySetTab::Special},    {241, 0x04, KeySetTab::Special},
        {243, 0x04, KeySetTab::Special},    {245, 0x04, KeySetTab::Special},
        {201, 0x04, KeySetTab::Media},      {223, 0x04, KeySetTab::Media},
        {232, 0x04, KeySetTab::LedControl}, {237, 0x04, KeySetTab::LedControl},
        {240, 0x04, KeySetTab::LedControl}, {255, 0x04, KeySetTab::Disable},
        {0x05, 0x04, KeySetTab::KeyBoard},  {178, 0x04, KeySetTab::KeyBoard},
        {193, 0x04, KeySetTab::KeyBoard},   {224, 0x04, KeySetTab::KeyBoard},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(tabForCode(c.code, c.defaultCode), c.tab);
    }
}

TEST(KeyAssignmentTest, ItemNamesCarryTheirHexCodeOrZero) {
    EXPECT_EQ(codeFromItemName("ItemValue0xCB_VolAdd"), 0xCB);
    EXPECT_EQ(codeFromItemName("ItemValue0xB0_SysPower"), 0xB0);
    EXPECT_EQ(codeFromItemName("ItemValue0xb5_x"), 0xB5);
    EXPECT_EQ(codeFromItemName("ItemValue0x_Up"), 0);
    EXPECT_EQ(codeFromItemName("ItemValue0x"), 0);
    EXPECT_EQ(codeFromItemName("Nothing"), 0);
    EXPECT_EQ(codeFromItemName("ItemValue0xG1_Bad"), 0);
}

TEST(KeyAssignmentTest, TheDropDownsListTheFunctionsOfTheirTabUnderTheirIdentifiers) {
    KeyFunctionCatalogue catalogue;
    catalogue.rebuildCatalogue();
    const std::vector<KeyFunctionEntry> media = functionItems(catalogue, KeySetTab::Media);
    ASSERT_FALSE(media.empty());
    for (const KeyFunctionEntry& entry : media) {
        EXPECT_EQ(tabForCode(entry.code, 0x04), KeySetTab::Media) << entry.itemValue;
        EXPECT_EQ(codeFromItemName(entry.itemValue), entry.code) << entry.itemValue;
    }
    EXPECT_NE(std::find_if(media.begin(), media.end(),
                           [](const auto& e) { return e.itemValue == "ItemValue0xCB_VolAdd"; }),
              media.end());
    for (KeySetTab tab : {KeySetTab::System, KeySetTab::Special, KeySetTab::LedControl})
        EXPECT_FALSE(functionItems(catalogue, tab).empty());
    EXPECT_TRUE(functionItems(catalogue, KeySetTab::KeyBoard).empty());
    // Fn functions: every function, "no function" under an identifier of its own.
    const std::vector<KeyFunctionEntry> fn = fnFunctionItems(catalogue);
    for (const KeyFunctionEntry& entry : fn)
        EXPECT_EQ(codeFromItemName(entry.itemValue), entry.code) << entry.itemValue;
}

class KeyboardPageModelTest : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root);
        fs::copy(test::sourceResDir() / "MacroKorv", root / "MacroKorv",
                 fs::copy_options::recursive);
        folder = test::copyShippedKeyboard(dir);
        ASSERT_TRUE(test::isOk(model.load(folder, test::ShippedKeyboardName, root)));
        ASSERT_FALSE(model.macros().groups.empty());
        ASSERT_GE(model.macros().groups[0].macros.size(), 2u);
    }
    // The first keys of the key list, `count` of them.
    std::vector<std::string> keys(std::size_t count) {
        std::vector<std::string> names;
        for (const auto& [name, binding] : model.config().keys[0])
            if (names.size() < count && name != "btn_KBKey_Calc")
                names.push_back(name);
        return names;
    }
    KeyChoice macroChoice(int macro) {
        KeyChoice choice;
        choice.tab = KeySetTab::Macro;
        choice.group = 0;
        choice.macro = macro;
        return choice;
    }
    KeyChoice mediaChoice(int code) {
        KeyChoice choice;
        choice.tab = KeySetTab::Media;
        choice.code = code;
        choice.text = "Volume Up";
        return choice;
    }
    int bindCount(int macro) {
        return model.macros().groups[0].macros[std::size_t(macro)].bindKeyCount;
    }
    const KeyBinding& key(const std::string& name) { return model.config().keys[0].at(name); }

    test::TempDir dir;
    fs::path root = dir / "res";
    fs::path folder;
    KeyboardPageModel model;
};

TEST_F(KeyboardPageModelTest, TwentySlotCodesPerProfileAndTheTwentyFirstMacroChangesNothing) {
    const std::vector<std::string> names = keys(21);
    const int before = bindCount(0);
    std::set<int> codes;
    for (std::size_t i = 0; i < 19; ++i)
        ASSERT_TRUE(model.assignKey(names[i], macroChoice(0)).assigned);
    EXPECT_EQ(model.config().usedMacroCodes[0].size(), 19u);
    const KeyAssignResult twentieth = model.assignKey(names[19], macroChoice(0));
    EXPECT_TRUE(twentieth.assigned);
    EXPECT_FALSE(twentieth.limitReached);
    for (std::size_t i = 0; i < 20; ++i)
        codes.insert(key(names[i]).code);
    EXPECT_EQ(codes.size(), 20u); // every key its own slot code
    EXPECT_EQ(*codes.begin(), 165);
    EXPECT_EQ(*codes.rbegin(), 192);
    EXPECT_EQ(bindCount(0), before + 20);

    const KeyBinding untouched = key(names[20]);
    const KeyAssignResult refused = model.assignKey(names[20], macroChoice(0));
    EXPECT_TRUE(refused.limitReached);
    EXPECT_FALSE(refused.assigned);
    EXPECT_EQ(key(names[20]), untouched);
    EXPECT_EQ(bindCount(0), before + 20);
    EXPECT_EQ(model.config().usedMacroCodes[0].size(), 20u);

    // Re-pointing a key that plays a macro works at the limit and moves the bind count.
    const int code = key(names[3]).code;
    ASSERT_TRUE(model.assignKey(names[3], macroChoice(1)).assigned);
    EXPECT_EQ(key(names[3]).code, code);
    EXPECT_EQ(key(names[3]).macGuid, model.macros().groups[0].macros[1].guid);
    EXPECT_EQ(bindCount(0), before + 19);
    EXPECT_EQ(key(names[3]).displayText, "M:" + model.macros().groups[0].macros[1].name);

    // A media function frees the slot code for the next macro.
    ASSERT_TRUE(model.assignKey(names[5], mediaChoice(0xCB)).assigned);
    EXPECT_EQ(key(names[5]).code, 0xCB);
    EXPECT_TRUE(key(names[5]).grpGuid.empty());
    EXPECT_EQ(model.config().usedMacroCodes[0].size(), 19u);
    EXPECT_EQ(bindCount(0), before + 18);
    ASSERT_TRUE(model.assignKey(names[20], macroChoice(0)).assigned);
    EXPECT_EQ(key(names[20]).code, code + 2); // the freed code of names[5]
    // Other profiles keep their own twenty codes.
    EXPECT_TRUE(model.config().usedMacroCodes[1].empty());
}

TEST_F(KeyboardPageModelTest, DefaultDisableAndBindCountsNeverBelowZero) {
    const std::string name = "btn_KBKey_Q";
    ASSERT_TRUE(model.assignKey(name, macroChoice(0)).assigned);
    model.macros().groups[0].macros[0].bindKeyCount = 0; // counts out of step with the keys
    KeyChoice disable;
    disable.tab = KeySetTab::Disable;
    disable.text = "Disabled";
    ASSERT_TRUE(model.assignKey(name, disable).assigned);
    EXPECT_EQ(key(name).code, 255);
    EXPECT_EQ(key(name).displayText, "Disabled");
    EXPECT_EQ(bindCount(0), 0);
    ASSERT_TRUE(model.assignKey(name, KeyChoice{}).assigned);
    EXPECT_EQ(key(name).code, key(name).defaultCode);
    EXPECT_EQ(key(name).displayText, "Q");
    EXPECT_FALSE(model.assignKey("btn_KBKey_Nothing", disable).found);
}

TEST_F(KeyboardPageModelTest, PopupRequestsNameTheKeyOrUnknownWithCode255) {
    model.assignKey("btn_KBKey_F1", mediaChoice(0xCB));
    const KeyPopupRequest f1 = model.popupRequest("btn_KBKey_F1");
    EXPECT_TRUE(f1.found);
    EXPECT_EQ(f1.caption, "F1");
    EXPECT_EQ(f1.tab, KeySetTab::Media);
    EXPECT_EQ(f1.defaultScanCode, 0x3B);
    const KeyPopupRequest missing = model.popupRequest("btn_KBKey_Nothing");
    EXPECT_FALSE(missing.found);
    EXPECT_EQ(missing.caption, "Unknown Key");
    EXPECT_EQ(missing.defaultCode, 255);
    EXPECT_EQ(missing.code, 255);
    EXPECT_EQ(model.tooltip("btn_KBKey_Nothing"), "Unknown Key");
    EXPECT_EQ(model.tooltip("btn_KBKey_F1"), "Volume Up");
}

TEST_F(KeyboardPageModelTest, FnFunctionsComeFromItemNamesAndAreShownByTheirIdentifier) {
    model.setFnFunction(3, "ItemValue0xB0_SysPower");
    EXPECT_EQ(model.config().otherKeys[0].at("FN_F3").code, 0xB0);
    const ViewRows rows = model.fnFunctionRows(3);
    EXPECT_NE(std::find(rows.begin(), rows.end(),
                        ViewRow{kbpage::FnFunctionList, viewattr::SelectedItem,
                                "ItemValue0xB0_SysPower"}),
              rows.end());
    model.setFnFunction(3, "ItemValue0x_Up");
    EXPECT_EQ(model.config().otherKeys[0].at("FN_F3").code, 0);
    // Code 0 names nothing: the function list keeps its selection.
    for (const ViewRow& row : model.fnFunctionRows(3))
        EXPECT_NE(row.control, kbpage::FnFunctionList);
}

TEST_F(KeyboardPageModelTest, AKnobIsMarkedOnlyWhenItsFunctionDiffersFromTheFactoryOne) {
    const int factory = model.config().otherKeys[0].at("btn_scr0").defaultCode;
    EXPECT_EQ(model.setKnob("btn_scr0", 9), (ViewRows{{"btn_scr0", viewattr::Selected, "true"}}));
    EXPECT_EQ(model.tooltip("btn_scr0"), "brightup");
    EXPECT_EQ(model.knobMenuItem("btn_scr0"), "brightup");
    EXPECT_EQ(model.setKnob("btn_scr0", factory),
              (ViewRows{{"btn_scr0", viewattr::Selected, "false"}}));
    EXPECT_TRUE(model.setKnob("FN_F1", 2).empty());
    EXPECT_EQ(scrollCodeOfMenuItem("spddn"), 8);
    EXPECT_FALSE(scrollCodeOfMenuItem("nothing"));
}

TEST_F(KeyboardPageModelTest, TheFullKeyLockWarnsOnlyWhenItTurnsOn) {
    EXPECT_TRUE(model.toggleLock(kbfiles::AllKeyLock, false));
    EXPECT_EQ(model.config().otherKeys[0].at(kbfiles::AllKeyLock).code, 1);
    EXPECT_FALSE(model.toggleLock(kbfiles::AllKeyLock, true));
    EXPECT_EQ(model.config().otherKeys[0].at(kbfiles::AllKeyLock).code, 0);
    EXPECT_TRUE(model.toggleLock(kbfiles::AllKeyLock, false));
    EXPECT_FALSE(model.toggleLock(kbfiles::AltF4Lock, false));
    EXPECT_EQ(model.config().otherKeys[0].at(kbfiles::AltF4Lock).code, 1);
}

TEST_F(KeyboardPageModelTest, MarksFollowTheProfileAndUnassignedKeysAreNotChanged) {
    model.config().keys[0].at("btn_KBKey_W").code = UnassignedKeyCode;
    model.assignKey("btn_KBKey_Q", mediaChoice(0xCB));
    auto marked = [&](const std::string& name) {
        for (const ViewRow& row : model.markRows())
            if (row.control == name)
                return row.value == "true";
        return false;
    };
    EXPECT_TRUE(marked("btn_KBKey_Q"));
    EXPECT_FALSE(marked("btn_KBKey_W"));
    model.selectProfile(2);
    EXPECT_FALSE(marked("btn_KBKey_Q"));
    EXPECT_TRUE(model.selectProfile(7).empty());
    EXPECT_EQ(model.profile(), 2);
    model.selectProfile(0);
    EXPECT_TRUE(marked("btn_KBKey_Q"));
}

TEST_F(KeyboardPageModelTest, LegendsFollowTheLayout) {
    auto us = XkbKeyboardLayout::fromNames("us");
    auto de = XkbKeyboardLayout::fromNames("de");
    ASSERT_TRUE(us && de);
    model.rebuildTexts(**us);
    EXPECT_EQ(model.legend("btn_KBKey_Y"), "Y");
    EXPECT_EQ(model.legend("btn_KBKey_Z"), "Z");
    EXPECT_EQ(model.legend("btn_KBKey_KeyPad7"), "7");
    EXPECT_EQ(model.legend("btn_KBKey_PrintSc"), "PrtSc");
    EXPECT_EQ(model.legend("btn_KBKey_Calc"), "Calc");
    model.rebuildTexts(**de);
    EXPECT_EQ(model.legend("btn_KBKey_Y"), "Z");
    EXPECT_EQ(model.legend("btn_KBKey_Z"), "Y");
    EXPECT_EQ(key("btn_KBKey_Y").displayText, "Z");
    for (const ViewRow& row : model.legendRows())
        EXPECT_FALSE(row.value.empty()) << row.control;
}

TEST_F(KeyboardPageModelTest, TheCrossReferenceListsEachProfileThatPlaysAMacro) {
    model.assignKey("btn_KBKey_F2", macroChoice(0));
    model.selectProfile(2);
    model.assignKey("btn_KBKey_F2", macroChoice(0));
    model.selectProfile(0);
    ASSERT_TRUE(test::isOk(model.save()));
    MacroStore saved(root);
    ASSERT_TRUE(test::isOk(saved.LoadMacroFile()));
    const MacroRecord& macro = saved.groups[0].macros[0];
    ASSERT_TRUE(macro.bindings.contains(test::ShippedKeyboardName));
    EXPECT_EQ(macro.bindings.at(test::ShippedKeyboardName),
              (std::vector<MacroKeyBinding>{{"KBProfile1", "F2"}, {"KBProfile3", "F2"}}));
    EXPECT_FALSE(saved.groups[0].macros[1].bindings.contains(test::ShippedKeyboardName));
    EXPECT_EQ(macro.bindKeyCount, model.macros().groups[0].macros[0].bindKeyCount);
}

} // namespace
} // namespace varnix
