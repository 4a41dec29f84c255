// SPDX-License-Identifier: GPL-3.0-or-later
// Where macro item texts get key names from, and the texts of the other item kinds.
//
// The key-name code (scan codes, the active keyboard layout) lives elsewhere and is installed
// here at start with setKeyNameProvider(): a function from a macro item value (a HID keyboard
// usage, or 241..245 for mouse buttons) to the name the user sees. Until one is installed,
// fallbackKeyName() answers: "Left Click", "Middle Click", "Right Click" for 241..243 and the
// value as "0x%02X" otherwise.
#pragma once

#include "macro/MacroData.h"

#include <cstdint>
#include <functional>
#include <string>

namespace varnix {

using KeyNameProvider = std::function<std::string(std::uint32_t usage)>;

// Installs the process-wide provider; an empty function restores the fallback. Returns the
// previous one.
KeyNameProvider setKeyNameProvider(KeyNameProvider provider);
// The installed provider's name for the value, or fallbackKeyName().
std::string keyNameForUsage(std::uint32_t usage);
std::string fallbackKeyName(std::uint32_t usage);

// Pointer-move text for directions 3..6 ("[←]:%d,[↓]:%d" and its three siblings), x first;
// "[X]:eeror,[Y]:eeror" for any other status.
std::string pointerMoveText(int status, int x, int y);
// Reads the distances back from such a text: x from character 4 up to the first ",", y from
// 5 characters after that comma to the end (characters counted in UTF-16 code units). Parts that
// are not numbers give 0; values are limited to 0..65535.
MacroExtValue parsePointerMoveText(const std::string& text);

// The display text of one item, given its fields (see MacroStore::ItemDisplayText).
std::string macroItemText(std::uint8_t value, std::uint8_t status, MacroExtValue ext,
                          const KeyNameProvider& keyNames);

} // namespace varnix
