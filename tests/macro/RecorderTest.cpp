// SPDX-License-Identifier: GPL-3.0-or-later
// Recording key events into macro items: duplicates, limits, held keys, delays, start/stop.
#include "common/Clock.h"
#include "macro/KeyNames.h"
#include "macro/MacroRecorder.h"
#include "macro/XkbKeyboardLayout.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

constexpr int A = 0x1E, B = 0x30, C = 0x2E, Tab = 0x0F, LeftAlt = 0x38;
constexpr int Down = MacroRecorder::KeyDown, Up = MacroRecorder::KeyUp;
using Item = RecordedItem;
using Selection = MacroRecorder::Selection;
using StartOutcome = MacroRecorder::StartOutcome;

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto us = XkbKeyboardLayout::fromNames("us");
        ASSERT_TRUE(us) << us.outcome().detail;
        layout_ = std::move(*us);
        clock_.advance(8 * 3600 * 1000); // 08:00 UTC
        ASSERT_EQ(recorder_.startRecording(Selection::Macro), StartOutcome::Started);
    }
    // Records one event `gapMs` after the previous one.
    std::string at(std::uint64_t gapMs, int scanCode, int message) {
        clock_.advance(gapMs);
        return recorder_.RecordKeyEvent(scanCode, message);
    }
    // Presses and releases distinct keys until `presses` presses are recorded.
    void pressAndRelease(int presses) {
        for (int n = 0; n < presses; ++n) {
            const int key = n % 2 ? A : B;
            ASSERT_NE(at(5, key, Down), "Over") << n;
            ASSERT_NE(at(5, key, Up), "Over") << n;
        }
    }

    std::unique_ptr<XkbKeyboardLayout> layout_;
    ManualClock clock_;
    MacroRecorder recorder_{clock_,
                            [this](int scan) { return KeyNameForScanCode(scan, *layout_); }};
};

TEST_F(RecorderTest, HoldingAKeyRecordsOnePress) {
    EXPECT_EQ(at(0, A, Down), "A");
    for (int repeat = 0; repeat < 5; ++repeat)
        EXPECT_EQ(at(33, A, Down), "Error");
    EXPECT_EQ(at(10, A, Up), "A");
    EXPECT_EQ(at(10, A, Up), "Error");
    // The delay after the press covers the whole time the key was held.
    EXPECT_EQ(recorder_.items(), (std::vector<Item>{{1, 0x04, 175}, {2, 0x04, 20}}));
}

TEST_F(RecorderTest, OverlappingKeysGiveStatusesAndGaps) {
    EXPECT_EQ(at(0, A, Down), "A");
    EXPECT_EQ(at(100, B, Down), "B");
    EXPECT_EQ(at(250, A, Up), "A");
    EXPECT_EQ(at(40, B, Up), "B");
    EXPECT_EQ(recorder_.items(),
              (std::vector<Item>{{1, 0x04, 100}, {1, 0x05, 250}, {2, 0x04, 40}, {2, 0x05, 20}}));
    EXPECT_EQ(recorder_.itemCount(), 4);
    EXPECT_EQ(recorder_.lastIndex(), 3);
    EXPECT_EQ(recorder_.pressCount(), 2);
    EXPECT_EQ(recorder_.heldCount(), 0);
}

TEST_F(RecorderTest, OtherEventsAreIgnored) {
    EXPECT_EQ(at(0, A, Up), "Error");  // release whose press was not recorded
    EXPECT_EQ(at(0, A, 258), "Error"); // not a key press or release
    EXPECT_EQ(recorder_.itemCount(), 0);
    EXPECT_EQ(at(0, Tab, Down), "Tab");
    EXPECT_EQ(at(0, LeftAlt, MacroRecorder::SystemKeyDown), "L-Alt");
    EXPECT_EQ(at(0, LeftAlt, MacroRecorder::SystemKeyUp), "L-Alt");
    EXPECT_EQ(at(0, 0xE020, Down), "Unknown Key"); // a key without a usage
    EXPECT_EQ(at(0, B, Up), "Error");
    const auto items = recorder_.items();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0], (Item{1, 0x2B, 0}));
    EXPECT_EQ(items[1], (Item{1, 0xE2, 0}));
    EXPECT_EQ(items[2], (Item{2, 0xE2, 0}));
    EXPECT_EQ(items[3], (Item{1, 0xFF, 20}));
}

TEST_F(RecorderTest, DelaysWrapAtMidnightAndStopAt65535) {
    clock_.advance(Clock::kMsPerDay - clock_.timeOfDayMs() - 10); // 23:59:59.990 UTC
    at(0, A, Down);
    at(25, A, Up);      // 00:00:00.015
    at(65535, B, Down); // exactly the cap
    at(65536, B, Up);
    at(3 * 3600 * 1000, C, Down);
    const auto items = recorder_.items();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].delay, 25);
    EXPECT_EQ(items[1].delay, 65535);
    EXPECT_EQ(items[2].delay, 65535);
    EXPECT_EQ(items[3].delay, 65535);
    EXPECT_EQ(items[4].delay, 20);
}

TEST_F(RecorderTest, The56thPressIsRefused) {
    // 55 presses need at least 46 releases, since only nine keys can be held at once.
    pressAndRelease(50);
    const int keys[] = {0x10, 0x11, 0x12, 0x13, 0x14};
    for (int key : keys)
        EXPECT_NE(at(5, key, Down), "Over");
    EXPECT_EQ(recorder_.pressCount(), 55);
    EXPECT_EQ(at(5, 0x15, Down), "Over");
    EXPECT_EQ(at(5, 0x15, MacroRecorder::SystemKeyDown), "Over");
    EXPECT_EQ(at(5, 0x10, Up), "Q"); // releases still fit
    EXPECT_EQ(recorder_.itemCount(), 106);
    EXPECT_EQ(recorder_.stopRecording(true).items.size(), 106u);
}

TEST_F(RecorderTest, The111thItemIsRefused) {
    pressAndRelease(55);
    EXPECT_EQ(recorder_.itemCount(), 110);
    EXPECT_EQ(at(5, A, Down), "Over");
    EXPECT_EQ(at(5, C, Up), "Over");
    EXPECT_EQ(recorder_.items().back(), (Item{2, 0x05, 20}));
}

TEST_F(RecorderTest, ATenthHeldKeyIsRefusedAndItsReleaseIgnored) {
    const int keys[] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18};
    for (int key : keys)
        EXPECT_NE(at(5, key, Down), "Error");
    EXPECT_EQ(recorder_.heldCount(), 9);
    EXPECT_EQ(at(5, 0x19, Down), "Error");
    EXPECT_EQ(recorder_.heldCount(), 9);
    EXPECT_EQ(recorder_.pressCount(), 9);
    EXPECT_EQ(recorder_.itemCount(), 9);
    EXPECT_EQ(recorder_.heldKeys(),
              (std::array<int, 9>{0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18}));
    EXPECT_EQ(at(5, 0x19, Up), "Error");

    EXPECT_EQ(at(5, 0x12, Up), "E"); // later entries move down
    EXPECT_EQ(recorder_.heldKeys(),
              (std::array<int, 9>{0x10, 0x11, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0}));
    EXPECT_EQ(at(5, 0x19, Down), "P"); // room again
    EXPECT_EQ(recorder_.heldKeys()[8], 0x19);
}

TEST_F(RecorderTest, StartAndStopRules) {
    MacroRecorder idle(clock_, [](int) { return std::string("k"); });
    EXPECT_EQ(idle.startRecording(Selection::Nothing), StartOutcome::NothingSelected);
    EXPECT_EQ(idle.startRecording(Selection::Group), StartOutcome::NotAMacro);
    EXPECT_FALSE(idle.isRecording());

    at(0, A, Down);
    at(30, B, Down);
    RecordingResult stopped;
    EXPECT_EQ(recorder_.startRecording(Selection::Macro, &stopped), StartOutcome::StoppedRecording);
    EXPECT_FALSE(recorder_.isRecording());
    EXPECT_FALSE(stopped.stoppedByLimit);
    EXPECT_EQ(stopped.items, (std::vector<Item>{{1, 0x04, 30}, {1, 0x05, 20}}));

    // A new recording starts empty; the key still down last time records normally, and the
    // time since the previous recording is not stored for the first item.
    EXPECT_EQ(recorder_.startRecording(Selection::Macro), StartOutcome::Started);
    EXPECT_EQ(recorder_.itemCount(), 0);
    EXPECT_EQ(recorder_.heldCount(), 0);
    EXPECT_EQ(recorder_.pressCount(), 0);
    EXPECT_EQ(at(4000, B, Down), "B");
    EXPECT_EQ(at(70, B, Up), "B");
    EXPECT_EQ(recorder_.items(), (std::vector<Item>{{1, 0x05, 70}, {2, 0x05, 20}}));
    EXPECT_TRUE(recorder_.stopRecording(true).stoppedByLimit);
}

} // namespace
} // namespace varnix
