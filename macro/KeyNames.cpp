// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/KeyNames.h"

#include "macro/KeyNameProvider.h"
#include "macro/KeyboardLayout.h"
#include "macro/ScanCodes.h"

#include <algorithm>
#include <iterator>

namespace varnix {

namespace {

struct FixedKeyName {
    int scanCode;
    const char* name;
};

constexpr FixedKeyName kFixedKeyNames[] = {
    {0x01, "Escape"},
    {0x0E, "BackSpace"},
    {0x0F, "Tab"},
    {0x1C, "Enter"},
    {0x1D, "L-Ctrl"},
    {0x2A, "L-Shift"},
    {0x35, "/"},
    {0x37, "Num *"},
    {0x38, "L-Alt"},
    {0x39, "Space"},
    {0x3A, "Caps Lock"},
    {0x3B, "F1"},
    {0x3C, "F2"},
    {0x3D, "F3"},
    {0x3E, "F4"},
    {0x3F, "F5"},
    {0x40, "F6"},
    {0x41, "F7"},
    {0x42, "F8"},
    {0x43, "F9"},
    {0x44, "F10"},
    {0x45, "Pause"},
    {0x46, "Scroll Lock"},
    {0x47, "Num 7"},
    {0x48, "Num 8"},
    {0x49, "Num 9"},
    {0x4A, "Num -"},
    {0x4B, "Num 4"},
    {0x4C, "Num 5"},
    {0x4D, "Num 6"},
    {0x4E, "Num +"},
    {0x4F, "Num 1"},
    {0x50, "Num 2"},
    {0x51, "Num 3"},
    {0x52, "Num 0"},
    {0x53, "Num ."},
    {0x57, "F11"},
    {0x58, "F12"},
    {0x7E, "Num ."},
    {kMouseLeftScanCode, "Left Click"},
    {kMouseRightScanCode, "Right Click"},
    {kMouseMiddleScanCode, "Middle Click"},
    {0xE01C, "Num Enter"},
    {0xE01D, "R-Ctrl"},
    {0xE035, "Num /"},
    {0xE036, "R-Shift"},
    {0xE037, "Print Screen"},
    {0xE038, "R-Alt"},
    {0xE045, "Num Lock"},
    {0xE047, "Home"},
    {0xE048, "\u2191"}, // up arrow
    {0xE049, "Page Up"},
    {0xE04B, "\u2190"}, // left arrow
    {0xE04D, "\u2192"}, // right arrow
    {0xE04F, "End"},
    {0xE050, "\u2193"}, // down arrow
    {0xE051, "Page Down"},
    {0xE052, "Insert"},
    {0xE053, "Delete"},
    {0xE05B, "L-Win"},
    {0xE05C, "R-Win"},
    {0xE05D, "App"},
};

// Keys named by the table even where the layout gives them a character.
constexpr int kAlwaysFixedName[] = {0x01, 0x0E, 0x0F, 0x1C, 0x37, 0x39, 0x46, 0x4A, 0x4E, 0xE037};

} // namespace

std::optional<std::string> fixedKeyName(int scanCode) {
    for (const FixedKeyName& row : kFixedKeyNames) {
        if (row.scanCode == scanCode)
            return std::string(row.name);
    }
    return std::nullopt;
}

std::string KeyNameForScanCode(int scanCode, const KeyboardLayout& layout) {
    const bool alwaysFixed = std::find(std::begin(kAlwaysFixedName), std::end(kAlwaysFixedName),
                                       scanCode) != std::end(kAlwaysFixedName);
    if (!alwaysFixed) {
        std::string character = layout.upperCharacter(scanCode);
        if (!character.empty())
            return character;
    }
    return fixedKeyName(scanCode).value_or(kUnknownKeyName);
}

std::string KeyNameForScanCode(int scanCode) {
    return KeyNameForScanCode(scanCode, *activeKeyboardLayout());
}

std::string KeyNameForUsage(std::uint32_t usage) {
    return KeyNameForScanCode(usageToScanCode(static_cast<int>(usage & 0xFF)));
}

void installMacroItemKeyNames() {
    setKeyNameProvider(KeyNameForUsage);
}

} // namespace varnix
