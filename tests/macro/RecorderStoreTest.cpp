// SPDX-License-Identifier: GPL-3.0-or-later
// A finished recording in the macro store, and key names in the store's item texts.
#include "common/Clock.h"
#include "macro/KeyNameProvider.h"
#include "macro/KeyNames.h"
#include "macro/KeyboardLayout.h"
#include "macro/MacroRecorder.h"
#include "macro/MacroStore.h"
#include "macro/XkbKeyboardLayout.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

class RecorderStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(root_.path() / MacroStore::MacroFolder);
        ASSERT_TRUE(store_.AddGroup(0, "Group"));
        ASSERT_TRUE(store_.AddMacro(0, 0, "Macro"));
        auto de = XkbKeyboardLayout::fromNames("de");
        ASSERT_TRUE(de) << de.outcome().detail;
        setActiveKeyboardLayout(std::move(*de));
        installMacroItemKeyNames();
    }
    void TearDown() override {
        setKeyNameProvider({});
        setActiveKeyboardLayout(nullptr);
    }
    MacroStore reloaded() {
        MacroStore again(root_.path());
        EXPECT_TRUE(again.LoadMacroFile());
        return again;
    }

    test::TempDir root_;
    MacroStore store_{root_.path()};
};

TEST_F(RecorderStoreTest, RecordingReplacesTheItemsAndRepeatsOnce) {
    // An earlier macro body with more items and another repeat mode.
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(store_.InsertMacroItem(0, 0, i, MacroItemView{0x10, "", 1, 50}));
    ASSERT_TRUE(store_.SetMacroRepeat(0, 0, MacroStore::OptionCycleUntilClick, 7));

    ManualClock clock;
    MacroRecorder recorder(clock);
    ASSERT_EQ(recorder.startRecording(MacroRecorder::Selection::Macro),
              MacroRecorder::StartOutcome::Started);
    EXPECT_EQ(recorder.RecordKeyEvent(0x15, MacroRecorder::KeyDown), "Z"); // German layout
    clock.advance(120);
    EXPECT_EQ(recorder.RecordKeyEvent(0x15, MacroRecorder::KeyUp), "Z");
    clock.advance(300);
    EXPECT_EQ(recorder.RecordKeyEvent(0x0F, MacroRecorder::KeyDown), "Tab");
    ASSERT_TRUE(applyRecording(store_, 0, 0, recorder.stopRecording(false)));

    for (const MacroData& data : {store_.current.data, reloaded().groups[0].macros[0].data}) {
        EXPECT_EQ(data.num, 3);
        EXPECT_EQ(data.macRpt, 1);
        EXPECT_EQ(data.rptType & MacroRepeatModeMask, MacroRepeatCount);
        EXPECT_EQ(data.numXY + data.numWhl + data.numCpi + data.numMedia, 0);
        EXPECT_EQ(data.macSta[0], 1);
        EXPECT_EQ(data.macSta[1], 2);
        EXPECT_EQ(data.macVal[0], 0x1C);
        EXPECT_EQ(data.macVal[2], 0x2B);
        EXPECT_EQ(data.macDly[0], 120);
        EXPECT_EQ(data.macDly[1], 300);
        EXPECT_EQ(data.macDly[2], 20);
        EXPECT_EQ(data.macVal[3], 0x10); // slots after the recording keep what they held
    }

    EXPECT_EQ(store_.ItemDisplayText(0).text, "Z");
    EXPECT_EQ(store_.ItemDisplayText(2).text, "Tab");
}

TEST_F(RecorderStoreTest, ItemTextsNameKeysAndMouseButtons) {
    const std::pair<std::uint8_t, const char*> items[] = {
        {0x1C, "Z"},          {0x04, "A"},           {0xE0, "L-Ctrl"},
        {0x58, "Num Enter"},  {241, "Left Click"},   {242, "Middle Click"},
        {243, "Right Click"}, {0xFF, "Unknown Key"}, {0x32, "#"},
    };
    int index = 0;
    for (const auto& [value, name] : items)
        ASSERT_TRUE(store_.InsertMacroItem(0, 0, index++, MacroItemView{value, "", 1, 20}));
    index = 0;
    for (const auto& [value, name] : items)
        EXPECT_EQ(store_.ItemDisplayText(index++).text, name) << int(value);

    auto us = XkbKeyboardLayout::fromNames("us");
    ASSERT_TRUE(us) << us.outcome().detail;
    setActiveKeyboardLayout(std::move(*us));
    EXPECT_EQ(store_.ItemDisplayText(0).text, "Y"); // names follow the active layout
}

} // namespace
} // namespace varnix
