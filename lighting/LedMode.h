// SPDX-License-Identifier: GPL-3.0-or-later
// The twelve lighting modes: their codes and the item names of the mode lists.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace varnix {

enum LedModeCode : int {
    LedModeMute = 0,
    LedModeBreathing = 1,
    LedModeConstant = 2,
    LedModeResponse = 3,
    LedModeNeon = 4,
    LedModeAmbilight = 5,
    LedModeCometTail = 6,
    LedModeSingle = 7,
    LedModeFlow = 8,
    LedModeFlashing = 9,
    LedModeWave = 10,
    LedModePartition = 11,
};

inline constexpr int LedModeCount = 12;

// Item names by code; a page finds the item for a code by these names, never by position.
inline constexpr std::array<std::string_view, LedModeCount> LedModeNames = {
    "Mute",      "Breathing", "Constant", "Response", "Neon", "Ambilight",
    "CometTail", "Single",    "Flow",     "Flashing", "Wave", "Partition"};

// The item name of a code; nothing for a code outside 0..11.
std::optional<std::string_view> ledModeName(int code);
// The code of an item name (exact match); nothing for any other name.
std::optional<int> ledModeFromName(std::string_view name);

} // namespace varnix
