// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the mouse parameter image: header and key tables (1..109), then the macro area.
#pragma once

#include "device/MouseFeatureProfile.h"
#include "device/ParameterImage.h"
#include "macro/MacroGroup.h"
#include "mouse/MouseDeviceValues.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace varnix {

// Addresses of the mouse image (absolute, not relative to a base address).
namespace mouseimage {
inline constexpr int Profile = 1;      // (P & 3) * 32, plus 3 in the extended layout
inline constexpr int Profile0Keys = 8; // K[0][0..8] at 8..16
inline constexpr int Reserved17 = 17;  // 17, 18: 0
inline constexpr int DpiIndexHighBits = 19;
inline constexpr int DpiLedType = 20; // bits 4..3 DPI_K4K5DPI_LED_TYPE
inline constexpr int DpiIndexes = 21; // 21..23: I0<<4|I1, I2<<4|I3, I4<<4|I5
inline constexpr int DpiLevel = 24;   // bits 2..0 L, bits 3..6 long-hold features (X)
inline constexpr int DpiEnable = 25;
inline constexpr int Fire = 26; // 26, 27: FIRE / 8, low then high
inline constexpr int LedMode = 28;
inline constexpr int LedEnable = 29;
inline constexpr int Polling = 30;
inline constexpr int Reserved31 = 31;
inline constexpr int Colours = 32; // 32..49: DPI (low) and LED (high, X) components
inline constexpr int ColourComponents = 18;
inline constexpr int DeviceFields50 = 50; // 50, 51: X fields not driven by the page
inline constexpr int Reserved52 = 52;     // 52..57: 0
inline constexpr int DeviceFields58 = 58;
inline constexpr int Profile0Keys9 = 59; // K[0][9..11] at 59..61
inline constexpr int LedSlot6RedGreen = 62;
inline constexpr int LedSlot6Blue = 63; // bit 7 device flag, bits 6..4 BR, bits 3..0 LB'6
inline constexpr int DeviceFields64 = 64;
inline constexpr int Profile0Keys12 = 65; // K[0][12], K[0][13]
inline constexpr int LedTypeFields = 67;  // bits 7..6 CFG_LED_TYPE, bits 5..4 BIG_MODE_SW_LOC
inline constexpr int Profile1Keys = 68;   // K[1][0..11] at 68..79
inline constexpr int Profile2Keys = 80;   // K[2][0..11] at 80..91
inline constexpr int SlotTwelveKeys = 92; // K[1][12], K[1][13], K[2][12], K[2][13]
inline constexpr int Profile3Keys = 96;   // K[3][0..11] at 96..107
inline constexpr int Profile3Keys12 = 108;
inline constexpr int LastHeaderAddress = 109;
inline constexpr int FireDivisor = 8;
inline constexpr std::uint8_t ExtendedProfileBits = 3;
} // namespace mouseimage

// Address 28 from the LED mode and the speed code: bits 2..0 the speed code, or 7 for a mode
// that does not move; bit 3 set for a moving mode; bits 6..4 the mode's low three bits; bit 7
// the mode's bit 3 (modes 8 and up). The modes that do not move are the ones the page shows no
// speed for: 2, 9, 12, 13, and any unknown mode.
std::uint8_t mouseLedModeByte(std::uint8_t mode, std::uint8_t speedCode);

struct MouseImageInput {
    const MouseDeviceValues& values;
    const MouseFeatureProfile& feature;
    // The extended layout (X = 1) adds the LED colours, brightness and long-hold switches.
    bool extended = false;
    const std::vector<MacroGroup>& macros;
    const std::vector<MacroRecord>& shortcuts;
};

class MouseImageBuilder {
public:
    // Mice with LEDs (LED_NUM not 0) use the extended layout.
    static bool extendedLayout(const MouseFeatureProfile& feature) { return feature.LED_NUM != 0; }

    // Addresses 1..109 in increasing order (a repeated address keeps its first value).
    static void addHeader(ParameterImage& image, const MouseImageInput& input);
    // The whole image: header and macro area. `warnings` receives bodies cut at 560 bytes.
    static ParameterImage build(const MouseImageInput& input,
                                std::vector<std::string>* warnings = nullptr);

    // The addresses the lighting of the mouse lives at: 28, 29, 32..49 (LED colours share these
    // bytes with the DPI colours), 62 and 63.
    static std::vector<int> lightingAddresses();
    // The lighting part of a header: the entries of `image` at lightingAddresses().
    static ParameterImage lightingImage(const ParameterImage& image);
};

} // namespace varnix
