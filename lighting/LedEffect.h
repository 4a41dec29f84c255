// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting-effect record every lit device shares: mode, seven colour slots and the effect
// values.
#pragma once

#include <array>
#include <cstdint>

namespace varnix {

inline constexpr int LedSlotCount = 7;

struct ColourSlot {
    std::int32_t enabled = 0; // 0 or 1
    std::uint32_t colour = 0; // 0xAARRGGBB as the colour button shows it
    bool operator==(const ColourSlot&) const = default;
};

// colourType values.
inline constexpr std::int32_t LedSingleColour = 0;
inline constexpr std::int32_t LedCycleColours = 1;

struct LedEffect {
    std::int32_t colourType = LedSingleColour;
    std::int32_t selectedSlot = 0;
    std::int32_t mode = 0;
    std::int32_t brightness = 0;
    std::int32_t speed = 0;
    bool symmetric = false;
    std::int32_t direction = 0;
    std::array<ColourSlot, LedSlotCount> slots{};

    bool operator==(const LedEffect&) const = default;

    // Bit i set for every enabled slot i.
    std::uint8_t enabledMask() const;
    // The first enabled slot, or -1 when none is enabled.
    int firstEnabledSlot() const;
};

} // namespace varnix
