// SPDX-License-Identifier: GPL-3.0-or-later
// Display names of keys: the layout's character, or a fixed name for keys without one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace varnix {

class KeyboardLayout;

// The name of a key nothing names; callers treat it as "no name".
inline constexpr const char* kUnknownKeyName = "Unknown Key";

// The name of the key at a set-1 scan code (extended keys as 0xE000 + byte, mouse buttons
// 240..242): the upper-cased character the layout gives with no modifiers, except for the
// keys whose fixed name always wins (Escape, BackSpace, Tab, Enter, Space, Scroll Lock,
// Print Screen and keypad * - +); otherwise the fixed name; otherwise "Unknown Key".
std::string KeyNameForScanCode(int scanCode, const KeyboardLayout& layout);

// The same under the active layout (activeKeyboardLayout()).
std::string KeyNameForScanCode(int scanCode);

// The fixed name of a scan code, if it has one.
std::optional<std::string> fixedKeyName(int scanCode);

// The name of a macro item value taken as a HID usage, under the active layout; the mouse
// buttons' values 241, 242 and 243 read "Left Click", "Middle Click" and "Right Click".
std::string KeyNameForUsage(std::uint32_t usage);

// Makes macro item texts (MacroStore::ItemDisplayText) use KeyNameForUsage. Called once at
// start by the program and by varnixctl.
void installMacroItemKeyNames();

} // namespace varnix
