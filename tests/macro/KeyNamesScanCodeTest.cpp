// SPDX-License-Identifier: GPL-3.0-or-later
// Scan code / HID usage conversions and the native key code table.
#include "macro/NativeKeyCodes.h"
#include "macro/ScanCodes.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

namespace varnix {
namespace {

bool usageHasKey(int usage) {
    return (usage >= 0x04 && usage <= 0x65) || usage == 0x85 || usage == 0x87 ||
           (usage >= 0xE0 && usage <= 0xE7) || (usage >= 0xF1 && usage <= 0xF3);
}

TEST(ScanCodeTest, FixedScanCodeRowsGiveTheirUsage) {
    struct Row {
        int scanCode;
        int usage;
    };
    const Row rows[] = {
        {0x2B, 0x31},   {0x36, 0xFF},   {0x45, 0x48},   {0x54, 0xFF},   {0x55, 0xFF},
        {0x56, 0x64},   {0x59, 0xFF},   {0x72, 0xFF},   {0x73, 0x87},   {0x74, 0xFF},
        {0x7D, 0xFF},   {0x7E, 0x85},   {0x7F, 0xFF},   {0xEF, 0xFF},   {240, 241},
        {241, 243},     {242, 242},     {0xE01C, 0x58}, {0xE01D, 0xE4}, {0xE036, 0xE5},
        {0xE038, 0xE6}, {0xE035, 0x54}, {0xE037, 0x46}, {0xE045, 0x53}, {0xE047, 0x4A},
        {0xE049, 0x4B}, {0xE04F, 0x4D}, {0xE051, 0x4E}, {0xE048, 0x52}, {0xE04B, 0x50},
        {0xE04D, 0x4F}, {0xE050, 0x51}, {0xE052, 0x49}, {0xE053, 0x4C}, {0xE05B, 0xE3},
        {0xE05C, 0xE7}, {0xE05D, 0x65}, {0x00, 0xFF},   {0x1E, 0x04},   {0x15, 0x1C},
        {0x0F, 0x2B},   {0x57, 0x44},   {0x58, 0x45},   {0x1D, 0xE0},   {0x53, 0x63},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ScanCodeToUsage(row.scanCode), row.usage)
            << std::hex << "scan 0x" << row.scanCode;
}

TEST(ScanCodeTest, EveryOtherCodeHasNoUsage) {
    for (int scan = 0x7F; scan <= 0xEF; ++scan)
        EXPECT_EQ(ScanCodeToUsage(scan), 0xFF) << std::hex << scan;
    for (int scan = 0x59; scan <= 0x72; ++scan)
        EXPECT_EQ(ScanCodeToUsage(scan), 0xFF) << std::hex << scan;
    for (int scan : {0xF3, 0xFF, 0x100, 0xDFFF, 0xE000, 0xE020, 0xE02A, 0xE0FF, 0xE100, 0xE11D,
                     0x10000, -1, -0xE01D})
        EXPECT_EQ(ScanCodeToUsage(scan), 0xFF) << std::hex << scan;
}

TEST(ScanCodeTest, FixedUsageRowsGiveTheirScanCode) {
    struct Row {
        int usage;
        int scanCode;
    };
    const Row rows[] = {
        {0x31, 0x2B},   {0x32, 0x2B},   {0x46, 0xE037}, {0x48, 0x45},   {0x53, 0xE045},
        {0x54, 0xE035}, {0x58, 0xE01C}, {0x64, 0x56},   {0x65, 0xE05D}, {0x85, 0x7E},
        {0x87, 0x73},   {0xE3, 0xE05B}, {0xE7, 0xE05C}, {0xE4, 0xE01D}, {0xE5, 0xE036},
        {0xE6, 0xE038}, {0xF1, 0xF0},   {0xF2, 0xF2},   {0xF3, 0xF1},   {0x04, 0x1E},
        {0x1C, 0x15},   {0x1D, 0x2C},   {0x28, 0x1C},   {0x2B, 0x0F},   {0x44, 0x57},
        {0x47, 0x46},   {0x62, 0x52},   {0xE0, 0x1D},
    };
    for (const Row& row : rows)
        EXPECT_EQ(usageToScanCode(row.usage), row.scanCode) << std::hex << "usage 0x" << row.usage;
}

TEST(ScanCodeTest, OnlyTheListedUsagesHaveScanCodesAndOnlyTheLowByteCounts) {
    for (int usage = 0; usage <= 0xFF; ++usage) {
        const int scan = usageToScanCode(usage);
        if (usageHasKey(usage))
            EXPECT_NE(scan, 0xFF) << std::hex << usage;
        else
            EXPECT_EQ(scan, 0xFF) << std::hex << usage;
        EXPECT_EQ(usageToScanCode(usage + 0x100), scan);
        EXPECT_EQ(usageToScanCode(usage + 0x7F00), scan);
    }
}

TEST(ScanCodeTest, ConversionsAreInverseExceptForTheSharedBackslashKey) {
    for (int usage = 0; usage <= 0xFF; ++usage) {
        if (!usageHasKey(usage) || usage == 0x32)
            continue;
        EXPECT_EQ(ScanCodeToUsage(usageToScanCode(usage)), usage) << std::hex << usage;
    }
    EXPECT_EQ(ScanCodeToUsage(usageToScanCode(0x32)), 0x31);

    int namedScanCodes = 0;
    for (int scan = 0; scan <= 0xE0FF; ++scan) {
        const int usage = ScanCodeToUsage(scan);
        if (usage == 0xFF)
            continue;
        ++namedScanCodes;
        EXPECT_EQ(usageToScanCode(usage), scan) << std::hex << scan;
    }
    // Every usage with a key except the non-US hash, which shares the backslash key.
    EXPECT_EQ(namedScanCodes, (0x65 - 0x04 + 1) + 2 + 8 + 3 - 1);
}

TEST(NativeKeyCodeTest, EvdevAndX11CodesGiveSetOneScanCodes) {
    struct Row {
        int evdevCode;
        int scanCode;
    };
    const Row rows[] = {
        {KEY_ESC, 0x01},
        {KEY_A, 0x1E},
        {KEY_Y, 0x15},
        {KEY_TAB, 0x0F},
        {KEY_RIGHTSHIFT, 0xE036},
        {KEY_NUMLOCK, 0xE045},
        {KEY_PAUSE, 0x45},
        {KEY_SYSRQ, 0xE037},
        {KEY_KPENTER, 0xE01C},
        {KEY_RIGHTCTRL, 0xE01D},
        {KEY_KPSLASH, 0xE035},
        {KEY_RIGHTALT, 0xE038},
        {KEY_LEFTMETA, 0xE05B},
        {KEY_COMPOSE, 0xE05D},
        {KEY_DELETE, 0xE053},
        {KEY_UP, 0xE048},
        {KEY_102ND, 0x56},
        {KEY_F11, 0x57},
        {KEY_F12, 0x58},
        {KEY_RO, 0x73},
        {KEY_KPCOMMA, 0x7E},
        {KEY_KPDOT, 0x53},
        {KEY_MUTE, 0xE020},
        {0, 0},
        {KEY_HANGEUL, 0},
        {KEY_HANJA, 0},
        {KEY_MAX, 0},
        {-5, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(scanCodeForEvdevCode(row.evdevCode), row.scanCode) << row.evdevCode;
        EXPECT_EQ(scanCodeForX11KeyCode(row.evdevCode + kXkbKeyCodeOffset), row.scanCode);
    }
    EXPECT_EQ(scanCodeForX11KeyCode(3), 0);
}

TEST(NativeKeyCodeTest, EveryKeyWithAUsageCanBeCapturedNatively) {
    for (int usage = 0; usage <= 0xE7; ++usage) {
        const int scan = usageToScanCode(usage);
        if (scan == 0xFF)
            continue;
        const int evdev = evdevCodeForScanCode(scan);
        ASSERT_GE(evdev, 0) << std::hex << "usage 0x" << usage;
        EXPECT_EQ(scanCodeForEvdevCode(evdev), scan) << std::hex << "usage 0x" << usage;
    }
    for (int scan : {kMouseLeftScanCode, kMouseRightScanCode, kMouseMiddleScanCode, 0, 0xFF})
        EXPECT_EQ(evdevCodeForScanCode(scan), -1) << scan;
}

} // namespace
} // namespace varnix
