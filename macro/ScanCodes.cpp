// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/ScanCodes.h"

#include <array>

namespace varnix {

namespace {

struct UsageScanRow {
    int usage;
    int scanCode;
    // False where several usages share one key: the scan code then converts back to another
    // usage of the same key.
    bool reversible = true;
};

// USB HID keyboard page to scan code set 1 as the keyboard hook reports it. Keys Windows
// reports as extended carry 0xE000; Pause is the plain 0x45 and Num Lock the extended 0xE045.
constexpr UsageScanRow kUsageScanTable[] = {
    {0x04, 0x1E},
    {0x05, 0x30},
    {0x06, 0x2E},
    {0x07, 0x20}, // A B C D
    {0x08, 0x12},
    {0x09, 0x21},
    {0x0A, 0x22},
    {0x0B, 0x23}, // E F G H
    {0x0C, 0x17},
    {0x0D, 0x24},
    {0x0E, 0x25},
    {0x0F, 0x26}, // I J K L
    {0x10, 0x32},
    {0x11, 0x31},
    {0x12, 0x18},
    {0x13, 0x19}, // M N O P
    {0x14, 0x10},
    {0x15, 0x13},
    {0x16, 0x1F},
    {0x17, 0x14}, // Q R S T
    {0x18, 0x16},
    {0x19, 0x2F},
    {0x1A, 0x11},
    {0x1B, 0x2D}, // U V W X
    {0x1C, 0x15},
    {0x1D, 0x2C}, // Y Z
    {0x1E, 0x02},
    {0x1F, 0x03},
    {0x20, 0x04},
    {0x21, 0x05}, // 1 2 3 4
    {0x22, 0x06},
    {0x23, 0x07},
    {0x24, 0x08},
    {0x25, 0x09}, // 5 6 7 8
    {0x26, 0x0A},
    {0x27, 0x0B}, // 9 0
    {0x28, 0x1C},
    {0x29, 0x01},
    {0x2A, 0x0E},
    {0x2B, 0x0F}, // Enter Escape BackSpace Tab
    {0x2C, 0x39},
    {0x2D, 0x0C},
    {0x2E, 0x0D}, // Space - =
    {0x2F, 0x1A},
    {0x30, 0x1B},        // [ ]
    {0x31, 0x2B},        // backslash
    {0x32, 0x2B, false}, // non-US hash: the backslash key
    {0x33, 0x27},
    {0x34, 0x28},
    {0x35, 0x29}, // ; ' `
    {0x36, 0x33},
    {0x37, 0x34},
    {0x38, 0x35}, // , . /
    {0x39, 0x3A}, // Caps Lock
    {0x3A, 0x3B},
    {0x3B, 0x3C},
    {0x3C, 0x3D},
    {0x3D, 0x3E}, // F1..F4
    {0x3E, 0x3F},
    {0x3F, 0x40},
    {0x40, 0x41},
    {0x41, 0x42}, // F5..F8
    {0x42, 0x43},
    {0x43, 0x44},
    {0x44, 0x57},
    {0x45, 0x58}, // F9..F12
    {0x46, 0xE037},
    {0x47, 0x46},
    {0x48, 0x45}, // Print Screen, Scroll Lock, Pause
    {0x49, 0xE052},
    {0x4A, 0xE047},
    {0x4B, 0xE049}, // Insert Home PageUp
    {0x4C, 0xE053},
    {0x4D, 0xE04F},
    {0x4E, 0xE051}, // Delete End PageDown
    {0x4F, 0xE04D},
    {0x50, 0xE04B},
    {0x51, 0xE050},
    {0x52, 0xE048}, // right left down up
    {0x53, 0xE045},
    {0x54, 0xE035},
    {0x55, 0x37}, // Num Lock, keypad / *
    {0x56, 0x4A},
    {0x57, 0x4E},
    {0x58, 0xE01C}, // keypad - + Enter
    {0x59, 0x4F},
    {0x5A, 0x50},
    {0x5B, 0x51},
    {0x5C, 0x4B}, // keypad 1..4
    {0x5D, 0x4C},
    {0x5E, 0x4D},
    {0x5F, 0x47},
    {0x60, 0x48}, // keypad 5..8
    {0x61, 0x49},
    {0x62, 0x52},
    {0x63, 0x53}, // keypad 9 0 .
    {0x64, 0x56},
    {0x65, 0xE05D}, // non-US backslash, Application
    {0x85, 0x7E},
    {0x87, 0x73}, // keypad comma, International 1
    {0xE0, 0x1D},
    {0xE1, 0x2A},
    {0xE2, 0x38},
    {0xE3, 0xE05B}, // left Ctrl Shift Alt GUI
    {0xE4, 0xE01D},
    {0xE5, 0xE036},
    {0xE6, 0xE038},
    {0xE7, 0xE05C}, // right Ctrl Shift Alt GUI
    // Macro values of the mouse buttons and their pseudo scan codes.
    {0xF1, kMouseLeftScanCode},
    {0xF2, kMouseMiddleScanCode},
    {0xF3, kMouseRightScanCode},
};

constexpr std::array<int, 256> buildUsageToScan() {
    std::array<int, 256> table{};
    table.fill(kNoScanCode);
    for (const UsageScanRow& row : kUsageScanTable)
        table[static_cast<std::size_t>(row.usage)] = row.scanCode;
    return table;
}

// Scan codes 0x00..0xFF (plain keys and mouse pseudo codes) and 0xE000..0xE0FF (extended keys).
struct ScanToUsageTables {
    std::array<std::uint8_t, 256> plain{};
    std::array<std::uint8_t, 256> extended{};
};

constexpr ScanToUsageTables buildScanToUsage() {
    ScanToUsageTables tables;
    tables.plain.fill(kNoUsage);
    tables.extended.fill(kNoUsage);
    for (const UsageScanRow& row : kUsageScanTable) {
        if (!row.reversible)
            continue;
        const auto usage = static_cast<std::uint8_t>(row.usage);
        if (row.scanCode >= kExtendedScanCodeBase)
            tables.extended[static_cast<std::size_t>(row.scanCode - kExtendedScanCodeBase)] = usage;
        else
            tables.plain[static_cast<std::size_t>(row.scanCode)] = usage;
    }
    return tables;
}

constexpr std::array<int, 256> kUsageToScan = buildUsageToScan();
constexpr ScanToUsageTables kScanToUsage = buildScanToUsage();

static_assert(kUsageToScan[0x31] == 0x2B && kUsageToScan[0x32] == 0x2B);
static_assert(kScanToUsage.plain[0x2B] == 0x31);
static_assert(kScanToUsage.plain[0x36] == kNoUsage);
static_assert(kScanToUsage.plain[0x45] == 0x48);
static_assert(kScanToUsage.plain[kMouseRightScanCode] == 0xF3);

} // namespace

std::uint8_t ScanCodeToUsage(int scanCode) {
    if (scanCode >= 0 && scanCode <= 0xFF)
        return kScanToUsage.plain[static_cast<std::size_t>(scanCode)];
    if (scanCode >= kExtendedScanCodeBase && scanCode <= kExtendedScanCodeBase + 0xFF)
        return kScanToUsage.extended[static_cast<std::size_t>(scanCode - kExtendedScanCodeBase)];
    return kNoUsage;
}

int usageToScanCode(int usage) {
    return kUsageToScan[static_cast<std::size_t>(usage & 0xFF)];
}

} // namespace varnix
