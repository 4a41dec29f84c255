// SPDX-License-Identifier: GPL-3.0-or-later
// The 104 keys of the keyboard page with the HID usage of their legends, in key-list order.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace varnix {

struct KeyboardKeyDefinition {
    std::string_view name;    // control name of the key on the keyboard page
    std::int32_t defaultCode; // HID usage of the legend (0xF0 light key, 0xF1 Fn key)
    bool assignedAtStart;     // code starts equal to the default instead of unassigned
};

inline constexpr std::size_t KeyboardKeyCount = 104;

const std::array<KeyboardKeyDefinition, KeyboardKeyCount>& keyboardKeyList();

} // namespace varnix
