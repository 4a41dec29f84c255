// SPDX-License-Identifier: GPL-3.0-or-later
// Offsets of the keyboard parameter block, from the device's base address.
#pragma once

#include <cstdint>

namespace varnix::kbimage {

// Header.
inline constexpr int LockByte = 0;
// Colour nibbles: slot s has its first and third channel at FirstColour + 2s; its second
// channel is the low nibble of SecondColour + 2s, under the high nibbles X1, X2, X3, the top
// nibbles of the three setting words and 0.
inline constexpr int FirstColour = 1;
inline constexpr int SecondColour = 2;
inline constexpr int ColourStride = 2;
inline constexpr int SettingNibbleSlots = 3; // slots 0..2 carry X1..X3
inline constexpr int WordNibbleSlot = 3;     // slots 3..5 carry the setting words' bits 8..11
inline constexpr int LastSecondColour = 14;  // slot 6: high nibble 0
inline constexpr int ModeByte = 17;
inline constexpr int SwitchWord2Low = 19;
inline constexpr int FlagPairByte = 20;
inline constexpr int SwitchWord3Low = 23;
inline constexpr int EffectByte = 24;     // speed 0..2, brightness 3..5, direction 6..7
inline constexpr int ModeSlotByte = 25;   // mode 0..3, slot number 4..6, symmetry 7
inline constexpr int EnableMaskByte = 26; // bit 7 set, slots 0..6
inline constexpr int Word1Low = 27;
inline constexpr int MatrixPointer = 28;    // two bytes, little-endian
inline constexpr int DirectoryPointer = 30; // two bytes, little-endian
inline constexpr int KnobByte = 32;         // K1 high nibble, K0 low nibble
// Device setting fields the keyboard page does not drive.
inline constexpr int OpenSettingBytes[] = {15, 16, 18, 21, 22};
inline constexpr int HeaderEnd = 33;

inline constexpr int SpeedShift = 0;
inline constexpr int BrightnessShift = 3;
inline constexpr int DirectionShift = 6;
inline constexpr int SlotNumberShift = 4;
inline constexpr int SymmetryShift = 7;
inline constexpr std::uint8_t EnableMaskMarker = 0x80;
inline constexpr std::uint8_t AllSlotsMask = 0x7F;
inline constexpr std::uint8_t FlagXValue = 0xA0;
inline constexpr std::uint8_t FlagYValue = 0x0A;
inline constexpr int SettingWord1 = 0xFFF;
inline constexpr int SwitchCount = 12;
// The device mode under which the slot number counts from 0 and every slot is enabled.
inline constexpr int SpecialModeAllSlots = 2;

// Key matrix, column-major: MatrixStart + 8 c + r.
inline constexpr int MatrixStart = 72;
inline constexpr int MatrixEnd = 232;
// Fn+F1 .. Fn+F12, then four zero bytes.
inline constexpr int FnStart = 232;
inline constexpr int FnPadStart = 244;
inline constexpr int DirectoryStart = 248;
inline constexpr int DirectoryEntrySize = 5;
inline constexpr int DirectoryEnd = 348;
inline constexpr std::uint8_t DirectoryEntryMarker = 0x08;
// Macro bodies start at the first multiple of this at or after base + DirectoryEnd.
inline constexpr int BodyAlignment = 8;

static_assert(MatrixEnd - MatrixStart == 8 * 20);
static_assert(DirectoryEnd - DirectoryStart == 20 * DirectoryEntrySize);
static_assert(FnPadStart - FnStart == 12);

} // namespace varnix::kbimage
