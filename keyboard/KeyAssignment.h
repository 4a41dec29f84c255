// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the key assignment popup: which tab a code opens on, which functions each
// drop-down offers, and how an item name carries its code.
#pragma once

#include "mouse/KeyFunctionCatalogue.h"

#include <optional>
#include <string>
#include <vector>

namespace varnix {

// The popup's tabs, in the order of its option group "KBSet".
enum class KeySetTab : int {
    Default = 0,
    KeyBoard = 1,
    Macro = 2,
    Special = 3,
    Media = 4,
    System = 5,
    LedControl = 6,
    Disable = 7,
};
inline constexpr int KeySetTabCount = 8;
// The code of a disabled key, and the codes shown for a key the profile does not hold.
inline constexpr int DisabledKeyCode = 255;

// Whether a code plays a macro slot (165..175, 184..192).
bool isMacroSlotCode(int code);
// The tab a key opens on: Default when the code is the factory one, else by the code's range.
KeySetTab tabForCode(int code, int defaultCode);
// The tab of a code's function list (Special, Media, System, LedControl), or nothing.
std::optional<KeySetTab> functionListOf(int code);

// The code an item name carries: the four characters after "ItemValue" ("0xCB") read as a
// hexadecimal number; 0 when they are not one ("ItemValue0x_Up").
int codeFromItemName(const std::string& itemName);

// The catalogue entries a function drop-down lists (Special, Media, System, LedControl), by
// ascending code; empty for any other tab.
std::vector<KeyFunctionEntry> functionItems(const KeyFunctionCatalogue& catalogue, KeySetTab tab);
// The functions Fn+F1..F12 can carry: every function of the catalogue that is not an ordinary
// key, by ascending code.
std::vector<KeyFunctionEntry> fnFunctionItems(const KeyFunctionCatalogue& catalogue);
// The ItemValue identifier of a code in the catalogue, or "Unknown Key".
std::string itemValueOf(const KeyFunctionCatalogue& catalogue, int code);

// What the user chose in the popup.
struct KeyChoice {
    KeySetTab tab = KeySetTab::Default;
    int code = 0;     // KeyBoard, the function tabs (Default and Disable need none)
    std::string text; // the text the key shows for a function or a captured key
    int group = -1;   // Macro tab: positions in the macro store
    int macro = -1;
};

// How an assignment ended.
struct KeyAssignResult {
    bool found = false;        // the key is in the current profile
    bool assigned = false;     // the binding changed as chosen
    bool limitReached = false; // a macro was refused: all twenty slot codes are in use
};

} // namespace varnix
