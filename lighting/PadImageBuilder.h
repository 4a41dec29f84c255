// SPDX-License-Identifier: GPL-3.0-or-later
// The pad's device values and its parameter image (bytes 281..306).
#pragma once

#include "device/ParameterImage.h"
#include "lighting/LedEffect.h"

#include <array>
#include <cstdint>

namespace varnix {

class PadLighting;

// Addresses of the pad image (absolute).
namespace padimage {
inline constexpr int SlotRedBlue = 281;   // 281 + 2k: R'k << 4 | B'k, k = 0..6
inline constexpr int SlotGreen = 282;     // 282 + 2k: high nibble below, G'k
inline constexpr int SlotGreenLast = 294; // high nibble: a device value the page never drives
inline constexpr int DeviceFields = 295;  // 295..298: packed device fields, 0
inline constexpr int FixedLow1 = 299;     // low byte of a fixed 12-bit value
inline constexpr int DeviceFlags = 300;   // 0xA0 * flag A + 0x0A * flag B
inline constexpr int DeviceFields2 = 301; // 301, 302: packed device fields, 0
inline constexpr int FixedLow2 = 303;
inline constexpr int Effect = 304;     // direction 7..6, 7 - brightness 5..3, speed 2..0
inline constexpr int Mode = 305;       // symmetric 7, colour index 6..4, mode 3..0
inline constexpr int EnableMask = 306; // bits 6..0
inline constexpr int FirstAddress = SlotRedBlue;
inline constexpr int LastAddress = EnableMask;
inline constexpr std::uint8_t FirstGreenHigh = 0x5; // slots 0..2
} // namespace padimage

// 4-bit channel values 15 - (channel >> 4), in the pad's RGB order.
struct PadDeviceSlot {
    bool enabled = false;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const PadDeviceSlot&) const = default;
};

struct PadDeviceValues {
    std::int32_t mode = 0;
    std::int32_t colourIndex = 0;
    std::array<PadDeviceSlot, LedSlotCount> slots{};
    std::uint8_t enableMask = 0;
    std::int32_t speed = 0;
    std::int32_t brightness = 0;
    bool symmetric = false;
    std::int32_t direction = 0;
    // Fixed fields of the device object.
    std::array<bool, 9> flags{true, true, true, true, true, true, true, true, true};
    std::array<bool, 3> moreFlags{true, true, true};
    std::array<std::uint16_t, 3> fixedValues{0xFFF, 0xFFF, 0xFFF};

    bool operator==(const PadDeviceValues&) const = default;

    // Fills the device object from an effect: the colour index is selectedSlot + 1 in Constant
    // or single-colour mode, 0 in cycle mode, and otherwise stays as it was.
    void fill(const LedEffect& effect);
    static PadDeviceValues fromLighting(const PadLighting& lighting);
};

class PadImageBuilder {
public:
    static ParameterImage build(const PadDeviceValues& values);
};

} // namespace varnix
