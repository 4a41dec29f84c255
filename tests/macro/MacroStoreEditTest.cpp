// SPDX-License-Identifier: GPL-3.0-or-later
// Group and macro operations, item edits, repeat modes, names and item texts.
#include "tests/macro/MacroTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using nlohmann::json;
using ::testing::ElementsAre;

namespace varnix {
namespace {

class MacroStoreEditTest : public test::MacroStoreFixture {
protected:
    const MacroData& saved(int g = 0, int m = 0) {
        loaded = reloaded();
        return loaded.groups.at(g).macros.at(m).data;
    }
    void insertKey(int index, std::uint8_t usage, int status = MacroStatusPress, int delay = 20) {
        const Outcome inserted = store.InsertMacroItem(0, 0, index, {usage, "", status, delay});
        ASSERT_TRUE(test::isOk(inserted));
        EXPECT_FALSE(inserted.hasMessage());
    }
    MacroStore loaded;
};

std::vector<std::string> groupNames(const MacroStore& store) {
    std::vector<std::string> names;
    for (const MacroGroup& group : store.groups)
        names.push_back(group.name);
    return names;
}

TEST_F(MacroStoreEditTest, GroupsAndMacrosGoAfterTheGivenIndexInStoreAndFile) {
    ASSERT_TRUE(store.AddGroup(5, "A")); // empty store: appended
    ASSERT_TRUE(store.AddGroup(0, "C"));
    ASSERT_TRUE(store.AddGroup(0, "B")); // after A
    ASSERT_TRUE(store.AddGroup(7, "D")); // past the end: appended
    EXPECT_THAT(groupNames(store), ElementsAre("A", "B", "C", "D"));
    EXPECT_THAT(groupNames(reloaded()), ElementsAre("A", "B", "C", "D"));
    EXPECT_NE(store.groups[0].guid, store.groups[1].guid);

    ASSERT_TRUE(store.AddMacro(1, 3, "m1"));
    ASSERT_TRUE(store.AddMacro(1, -1, "m0")); // before the first
    ASSERT_TRUE(store.AddMacro(1, 0, "m0b"));
    EXPECT_EQ(store.current.name, "m0b");
    const MacroStore again = reloaded();
    ASSERT_EQ(again.groups[1].macros.size(), 3u);
    EXPECT_EQ(again.groups[1].macros[0].name, "m0");
    EXPECT_EQ(again.groups[1].macros[1].name, "m0b");
    EXPECT_EQ(again.groups[1].macros[2].name, "m1");
    EXPECT_EQ(json::parse(macroFileText())["MacroGrpInfo"][1]["MacroInfo"][0]["BindKeys"], 0);

    ASSERT_TRUE(store.DeleteGroup(0));
    ASSERT_TRUE(store.DeleteMacro(0, 1));
    EXPECT_THAT(groupNames(reloaded()), ElementsAre("B", "C", "D"));
    EXPECT_EQ(reloaded().groups[0].macros.size(), 2u);
    EXPECT_EQ(reloaded().groups[0].macros[1].name, "m1");
}

TEST_F(MacroStoreEditTest, DeleteMacroFromAnEmptyGroupShowsTheMessage) {
    ASSERT_TRUE(test::isOk(store.AddGroup(0, "Empty")));
    const Outcome refused = store.DeleteMacro(0, 0);
    EXPECT_FALSE(refused);
    EXPECT_EQ(test::shownKeys(refused),
              (std::pair<std::string, std::string>{"提示框", " DeleteMacro  !"}));
    EXPECT_FALSE(store.DeleteGroup(4));
    EXPECT_FALSE(store.DeleteMacro(3, 0));
}

TEST_F(MacroStoreEditTest, RenamesReachStoreCurrentAndFile) {
    makeOneMacro();
    ASSERT_TRUE(store.RenameMacro(0, 0, "Zauber \U0001F9D9"));
    ASSERT_TRUE(store.RenameGroup(0, "\u5b8f"));
    EXPECT_EQ(store.current.name, "Zauber \U0001F9D9");
    EXPECT_EQ(store.groups[0].name, "\u5b8f");
    const MacroStore again = reloaded();
    EXPECT_EQ(again.groups[0].name, "\u5b8f");
    EXPECT_EQ(again.groups[0].macros[0].name, "Zauber \U0001F9D9");
}

TEST_F(MacroStoreEditTest, InsertShiftsLaterItemsAndCommits) {
    makeOneMacro();
    insertKey(0, 0x04);
    insertKey(1, 0x05);
    insertKey(1, 0x06, MacroStatusRelease, 55);
    const MacroData& data = saved();
    EXPECT_EQ(data.num, 3);
    EXPECT_THAT(std::vector<int>(data.macVal.begin(), data.macVal.begin() + 4),
                ElementsAre(0x04, 0x06, 0x05, 0));
    EXPECT_EQ(data.macSta[1], MacroStatusRelease);
    EXPECT_EQ(data.macDly[1], 55);
    EXPECT_EQ(store.groups[0].macros[0].data, store.current.data);
}

TEST_F(MacroStoreEditTest, TheSlotLimitShowsTheMessageAndChangesNothing) {
    makeOneMacro();
    store.current.data.num = MacroSlotCount - 1;
    insertKey(0, 0x04);
    EXPECT_EQ(store.current.data.num, MacroSlotCount);
    const MacroData before = store.current.data;
    const Outcome refused = store.InsertMacroItem(0, 0, 3, {0x05, "", 1, 10});
    EXPECT_FALSE(refused);
    EXPECT_EQ(store.current.data, before);
    EXPECT_EQ(test::shownKeys(refused),
              (std::pair<std::string, std::string>{"提示框", " More than limit!"}));
    EXPECT_EQ(saved().num, MacroSlotCount);
}

TEST_F(MacroStoreEditTest, The51stPointerMoveIsInsertedButNotCounted) {
    makeOneMacro();
    for (int i = 0; i < MAC_XY_MAX; ++i) {
        const Outcome inserted = store.InsertMacroItem(0, 0, i, {246, "[←]:0,[↓]:1", 4, 10});
        ASSERT_TRUE(test::isOk(inserted));
        EXPECT_FALSE(inserted.hasMessage()) << i;
    }
    const Outcome past = store.InsertMacroItem(0, 0, 0, {246, "[→]:1234,[↑]:56", 6, 10});
    ASSERT_TRUE(test::isOk(past)) << "the insert is done";
    EXPECT_EQ(test::shownKeys(past),
              (std::pair<std::string, std::string>{"提示框", "  MAC_XY_MAX -  More than limit!"}));
    const MacroData& data = saved();
    EXPECT_EQ(data.num, 51);
    EXPECT_EQ(data.numXY, 50);
    EXPECT_EQ(data.extVal[0], (MacroExtValue{1234, 56}));
    EXPECT_EQ(data.extVal[1], (MacroExtValue{0, 1}));
}

TEST(PointerMoveTextTest, DistancesComeFromTheirCharacterPositions) {
    const std::pair<std::string, MacroExtValue> cases[] = {
        {"[←]:12,[↓]:34", {12, 34}},
        {"[→]:0,[↑]:65535", {0, 65535}},
        {"[→]:99999,[↑]:7", {65535, 7}}, // limited to 16 bits
        {"[←]:x,[↓]:y", {0, 0}},
        {"[←]:5", {5, 0}},
        {"ab", {0, 0}},
        {"", {0, 0}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parsePointerMoveText(text), expected) << text;
    for (int status = 3; status <= 6; ++status)
        EXPECT_EQ(parsePointerMoveText(pointerMoveText(status, 321, 45)), (MacroExtValue{321, 45}));
}

TEST_F(MacroStoreEditTest, DeletingFromAnEmptyMacroStillSaves) {
    makeOneMacro();
    fs::remove(macroFile());
    ASSERT_TRUE(store.DeleteMacroItem(0, 0, 0));
    EXPECT_EQ(store.current.data.num, 0);
    EXPECT_EQ(saved().num, 0);
}

TEST_F(MacroStoreEditTest, DeleteShiftsItemsZeroesTheFreedSlotAndCountsKinds) {
    makeOneMacro();
    MacroData& data = store.current.data;
    const std::uint8_t kinds[] = {246, 247, 248, 250, 4};
    for (int i = 0; i < 5; ++i) {
        data.macVal[i] = kinds[i];
        data.macSta[i] = 1;
        data.extVal[i] = {static_cast<std::uint16_t>(i), 9};
        data.macDly[i] = static_cast<std::uint16_t>(100 + i);
    }
    data.num = 5;
    data.numXY = data.numWhl = data.numCpi = data.numMedia = 1;
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(store.DeleteMacroItem(0, 0, 0));
    EXPECT_EQ(data.num, 1);
    EXPECT_EQ(data.macVal[0], 4);
    EXPECT_EQ(data.macDly[0], 104);
    EXPECT_EQ(data.extVal[0], (MacroExtValue{4, 9}));
    EXPECT_EQ(data.macVal[1], 0);
    EXPECT_EQ(data.extVal[1], MacroExtValue{});
    EXPECT_EQ(data.numXY + data.numWhl + data.numCpi + data.numMedia, 0);
    EXPECT_EQ(saved(), data) << "the file holds the same";
}

TEST_F(MacroStoreEditTest, DeletingTheSecondOfThreeLedItemsRenumbersAndMovesBlocks) {
    makeOneMacro();
    MacroData& data = store.current.data;
    for (std::uint16_t i = 0; i < 3; ++i) {
        data.macVal[i] = MacroKindLed;
        data.macSta[i] = 13;
        data.extVal[i].x = i;
        data.ledBlocks[i].fill(static_cast<std::uint8_t>(0xA0 + i));
    }
    data.num = 3;
    data.numLed = 3;
    ASSERT_TRUE(store.DeleteMacroItem(0, 0, 1));
    EXPECT_EQ(data.num, 2);
    EXPECT_EQ(data.numLed, 2);
    EXPECT_EQ(data.extVal[0].x, 0);
    EXPECT_EQ(data.extVal[1].x, 1);
    EXPECT_EQ(data.ledBlocks[0][67], 0xA0);
    EXPECT_EQ(data.ledBlocks[1][0], 0xA2);
    EXPECT_EQ(data.ledBlocks[1][67], 0xA2);
    EXPECT_EQ(data.ledBlocks[2], (std::array<std::uint8_t, LedBlockSize>{}));
    // The blocks are not in the file: after a reload they are zero.
    EXPECT_EQ(saved().ledBlocks[1], (std::array<std::uint8_t, LedBlockSize>{}));
}

TEST_F(MacroStoreEditTest, DataBlocksMoveWithTheirStrideAndOutOfRangeIndicesAreSafe) {
    makeOneMacro();
    MacroData& data = store.current.data;
    for (std::uint16_t i = 0; i < 3; ++i) {
        data.macVal[i] = MacroKindDataBlock;
        data.extVal[i].x = i == 2 ? 40 : i; // the last one points past the area
    }
    for (std::size_t b = 0; b < DataBlockCount; ++b)
        std::fill_n(data.dataBlocks.begin() + b * DataBlockStride, DataBlockStride,
                    static_cast<std::uint8_t>(b + 1));
    data.num = 3;
    data.blockItemCount = 3;
    ASSERT_TRUE(store.DeleteMacroItem(0, 0, 0));
    EXPECT_EQ(data.blockItemCount, 2);
    EXPECT_EQ(data.extVal[0].x, 0);  // was 1
    EXPECT_EQ(data.extVal[1].x, 39); // renumbered, no bytes moved
    EXPECT_EQ(data.dataBlocks[0], 2);
    EXPECT_EQ(data.dataBlocks[67], 2);
    EXPECT_EQ(data.dataBlocks[68], 1) << "the 69th byte of a block stays";
}

TEST_F(MacroStoreEditTest, RepeatOptionsMaskTheTypeAndSetTheCount) {
    makeOneMacro();
    const struct {
        std::uint8_t before;
        const char* option;
        std::uint8_t after;
    } cases[] = {
        {0x0E, "opt_Macro_CycleTimes", 0x04},
        {0x0E, "opt_Macro_CycleUntilClick", 0x09},
        {0x0E, "opt_Macro_CycleUntilRelease", 0x0A},
        {0xFF, "opt_Macro_CycleTimes", 0xF4},
        {0x01, "anything else", 0x00},
    };
    for (const auto& c : cases) {
        store.current.data.rptType = c.before;
        ASSERT_TRUE(store.SetMacroRepeat(0, 0, c.option, 7));
        EXPECT_EQ(store.current.data.rptType, c.after) << c.option;
        EXPECT_EQ(saved().rptType, c.after) << c.option;
        EXPECT_EQ(saved().macRpt, 7);
    }
}

TEST_F(MacroStoreEditTest, DatLockStopsInsertion) {
    makeOneMacro();
    store.datLocked = 1;
    EXPECT_FALSE(store.InsertMacroItem(0, 0, 0, {4, "", 1, 20}));
    EXPECT_EQ(store.current.data.num, 0);
    store.datLocked = 0;
    insertKey(0, 4);
    EXPECT_EQ(store.current.data.num, 1);
}

TEST_F(MacroStoreEditTest, UniqueDefaultNameProposals) {
    const struct {
        std::vector<std::string> names;
        std::string expected;
    } cases[] = {
        {{}, "New Group"},
        {{"New Group"}, "New Group0"},
        {{"New Group", "New Group0"}, "New Group1"},
        {{"New Group5"}, "New Group"},
        {{"New Group", "New Group1"}, "New Group0"},
        {{"New Group0", "New Group"}, "New Group1"},
        {{"New Group", "New Group", "New Group0"}, "New Group1"}, // a name used twice
        {{"New Group", "New Groupx", "New Group-1", "New Group 0"}, "New Group0"},
        {{"New Group", "New Group0", "New Group99999999999999999999999"}, "New Group1"},
        {{"Other", "New"}, "New Group"},
    };
    for (const auto& c : cases) {
        store.groups.clear();
        for (const std::string& name : c.names)
            store.groups.push_back({"", name, {}});
        EXPECT_EQ(store.UniqueDefaultName("New Group", MacroNameScope::Groups), c.expected)
            << ::testing::PrintToString(c.names);
    }
    store.groups = {{"", "G", {{"", "New Macro", {}, 0, {}}}}, {"", "New Macro", {}}};
    EXPECT_EQ(store.UniqueDefaultName("New Macro", MacroNameScope::MacrosOfGroup, 0), "New Macro0");
    EXPECT_EQ(store.UniqueDefaultName("New Macro", MacroNameScope::MacrosOfGroup, 1), "New Macro");
    EXPECT_EQ(store.UniqueDefaultName("New Macro", MacroNameScope::Groups), "New Macro0");
}

TEST_F(MacroStoreEditTest, ItemTextsByKind) {
    MacroData& data = store.current.data;
    const struct {
        std::uint8_t value;
        std::uint8_t status;
        std::uint16_t x, y;
        std::string text;
    } cases[] = {
        {246, 3, 10, 3, "[←]:10,[↓]:3"},
        {246, 4, 10, 3, "[←]:10,[↑]:3"},
        {246, 5, 1, 2, "[→]:1,[↓]:2"},
        {246, 6, 1, 2, "[→]:1,[↑]:2"},
        {246, 1, 1, 2, "[X]:eeror,[Y]:eeror"},
        {248, 9, 1, 0, "[DPI]:200 "},
        {248, 9, 8, 0, "[DPI]:1600 "},
        {248, 9, 15, 0, "[DPI]:4800 "},
        {248, 9, 4, 0, "[DPI]:800 "},
        {248, 9, 99, 0, "[DPI]:800 "},
        {248, 10, 0, 0, "[DPI]:返回执行前的值"},
        {248, 1, 0, 0, "[DPI]:Error"},
        {249, 13, 2, 0, "LED  2 "},
        {249, 14, 3, 0, "LED  3"},
        {249, 15, 4, 0, "LED  4"},
        {249, 1, 0, 0, "[LED0/1/2]:error"},
        {0, 0, 0, 0, "[Delay]"},
        {241, 1, 0, 0, "Left Click"},
        {242, 1, 0, 0, "Middle Click"},
        {243, 2, 0, 0, "Right Click"},
        {0x04, 1, 0, 0, "0x04"},
    };
    for (const auto& c : cases) {
        data.macVal[7] = c.value;
        data.macSta[7] = c.status;
        data.extVal[7] = {c.x, c.y};
        data.macDly[7] = 321;
        const MacroItemView view = store.ItemDisplayText(7);
        EXPECT_EQ(view.text, c.text) << int{c.value} << "/" << int{c.status};
        EXPECT_EQ(view.value, c.value);
        EXPECT_EQ(view.status, c.status);
        EXPECT_EQ(view.delay, 321);
    }
}

TEST_F(MacroStoreEditTest, KeyNamesComeFromTheInstalledProvider) {
    store.current.data.macVal[0] = 0x04;
    const KeyNameProvider previous =
        setKeyNameProvider([](std::uint32_t usage) { return "key " + std::to_string(usage); });
    EXPECT_EQ(store.ItemDisplayText(0).text, "key 4");
    store.keyNames = [](std::uint32_t) { return std::string("A"); };
    EXPECT_EQ(store.ItemDisplayText(0).text, "A");
    setKeyNameProvider(previous);
    store.keyNames = nullptr;
    EXPECT_EQ(store.ItemDisplayText(0).text, "0x04");
    EXPECT_EQ(store.ItemDisplayText(-1).text, "");
    EXPECT_EQ(store.ItemDisplayText(MacroSlotCount).text, "");
}

TEST_F(MacroStoreEditTest, OperationsOnMissingGroupsOrMacrosFailWithoutChanges) {
    makeOneMacro();
    const std::string before = macroFileText();
    EXPECT_FALSE(store.RenameMacro(0, 3, "x"));
    EXPECT_FALSE(store.RenameGroup(2, "x"));
    EXPECT_FALSE(store.AddMacro(-1, 0, "x"));
    EXPECT_FALSE(store.CommitMacro(0, 9));
    EXPECT_FALSE(store.SelectMacro(1, 0));
    EXPECT_EQ(macroFileText(), before);
}

} // namespace
} // namespace varnix
