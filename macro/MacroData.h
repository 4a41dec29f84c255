// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed-capacity body of one macro: repeat settings, item counters, 275 item slots, LED and
// data-block parameter areas. Also the unit of the .dat import and the source of device encoding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace varnix {

inline constexpr int MacroSlotCount = 275;
inline constexpr int MAC_XY_MAX = 50; // pointer-move items one macro may hold
inline constexpr std::size_t MacroHeaderSize = 60;
inline constexpr std::size_t MacroReservedSize = 4;
inline constexpr std::size_t LedBlockCount = 5;
inline constexpr std::size_t LedBlockSize = 68;
inline constexpr std::size_t DataBlockCount = 6;
inline constexpr std::size_t DataBlockStride = 69;
inline constexpr std::size_t DataBlockUsed = 68;

// Item kinds (macVal values with a meaning of their own; any other value is a HID usage).
enum MacroItemKind : std::uint8_t {
    MacroKindDelay = 0,
    MacroKindLeftButton = 241,
    MacroKindMiddleButton = 242,
    MacroKindRightButton = 243,
    MacroKindButton4 = 244,
    MacroKindButton5 = 245,
    MacroKindPointerMove = 246,
    MacroKindWheel = 247,
    MacroKindDpi = 248,
    MacroKindLed = 249,
    MacroKindMedia = 250,
    MacroKindDataBlock = 251,
};

// Item status values (macSta).
enum MacroItemStatus : std::uint8_t {
    MacroStatusPress = 1,
    MacroStatusRelease = 2,
    MacroStatusLeftDown = 3,
    MacroStatusLeftUp = 4,
    MacroStatusRightDown = 5,
    MacroStatusRightUp = 6,
    MacroStatusDpiLevel = 9,
    MacroStatusDpiRestore = 10,
};

// Repeat modes in bits 0-1 of rptType.
enum MacroRepeatMode : std::uint8_t {
    MacroRepeatCount = 0,
    MacroRepeatUntilClick = 1,
    MacroRepeatUntilRelease = 2,
};
inline constexpr std::uint8_t MacroRepeatModeMask = 0x03;

struct MacroExtValue {
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    bool operator==(const MacroExtValue&) const = default;
};

struct MacroData {
    std::array<std::uint8_t, MacroHeaderSize> header{}; // .dat import: name in UTF-16LE
    std::uint8_t rptType = 0;
    std::uint16_t macRpt = 0;
    std::uint16_t num = 0;
    std::uint16_t numXY = 0;
    std::uint16_t numWhl = 0;
    std::uint16_t numCpi = 0;
    std::uint16_t numMedia = 0;
    std::uint8_t numLed = 0;
    std::uint8_t blockItemCount = 0;
    std::uint8_t YStepEn = 0;
    std::uint8_t YStep = 0;
    std::array<std::uint8_t, MacroReservedSize> reserved{};
    std::array<std::uint8_t, MacroSlotCount> macSta{};
    std::array<std::uint8_t, MacroSlotCount> macVal{};
    std::array<MacroExtValue, MacroSlotCount> extVal{};
    std::array<std::uint16_t, MacroSlotCount> macDly{};
    std::array<std::array<std::uint8_t, LedBlockSize>, LedBlockCount> ledBlocks{};
    std::array<std::uint8_t, DataBlockCount * DataBlockStride> dataBlocks{};

    bool operator==(const MacroData&) const = default;
};

} // namespace varnix
