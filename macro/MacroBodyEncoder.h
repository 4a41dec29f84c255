// SPDX-License-Identifier: GPL-3.0-or-later
// Turns a macro into the byte string a keyboard plays: repeat header, two-byte entries, extra
// delay entries, and LED and data-block parameters after the entries.
#pragma once

#include "common/Outcome.h"
#include "macro/MacroData.h"

#include <cstdint>
#include <string>
#include <vector>

namespace varnix {

namespace macrobody {
// Delays go to the device in units of this many milliseconds.
inline constexpr int DelayUnitMs = 9;
// One entry holds at most this many units; longer delays take extra entries.
inline constexpr int MaxUnitsPerEntry = 127;
inline constexpr int DefaultMaxDelayMs = 10000;
// Set in an entry's delay byte for a press.
inline constexpr std::uint8_t PressBit = 0x80;
// Delay byte of the last item.
inline constexpr std::uint8_t LastItemDelay = 1;
inline constexpr std::size_t RepeatHeaderSize = 2;
// Repeat header for the repeat-until modes.
inline constexpr std::uint8_t RepeatUntilHeader[2] = {1, 0};
// Body and parameter addresses are 14 bits: nothing may reach this address.
inline constexpr int AddressLimit = 0x4000;
inline constexpr int AddressHighMask = 0x3F;
inline constexpr int AddressFlagShift = 6;
// Statuses with a meaning in the encoding.
inline constexpr std::uint8_t WheelUp = 7;
inline constexpr std::uint8_t WheelDown = 8;
inline constexpr std::uint8_t MediaRelease = 11;
inline constexpr std::uint8_t MediaPress = 12;
inline constexpr std::uint8_t LedFlagOne = 14;
inline constexpr std::uint8_t LedFlagTwo = 15;
// Value of LED switch A under which LED items are still sent while switch B is set.
inline constexpr int LedSwitchAKeepsLed = 2;
} // namespace macrobody

// Device values the encoding depends on (kept on the keyboard device object).
struct MacroDeviceValues {
    int maxDelayMs = macrobody::DefaultMaxDelayMs;
    int ledSwitchA = 0;
    int ledSwitchB = 0;
};

struct MacroBody {
    std::vector<std::uint8_t> bytes; // entries, then the LED and data-block areas
    int entryCount = 0;              // n of the directory: items plus extra delay entries
    int entryAreaSize = 0;           // bytes before the parameter areas
    // The room the body takes in the macro area: the size the directory layout assigns, or the
    // encoded length when that is larger (so that no body runs into the next one).
    int size = 0;
};

class MacroBodyEncoder {
public:
    explicit MacroBodyEncoder(MacroDeviceValues values = {}) : values_(values) {}

    // Delay units of one delay after the device's maximum delay is applied.
    int delayUnits(int delayMs) const;
    // n: items plus the extra entries of delays above 127 units (the last item's delay is 1).
    int entryCount(const MacroData& macro) const;
    // (numMedia + 2 numXY + numCpi + numWhl + n) * 2 + 2: the size the directory layout assigns.
    int layoutSize(const MacroData& macro) const;

    // The body placed at `address`. TooLarge, with the addresses in the detail, when the body or
    // one of its parameter areas would reach AddressLimit.
    Expected<MacroBody> encode(const MacroData& macro, int address) const;

private:
    MacroDeviceValues values_;
};

} // namespace varnix
