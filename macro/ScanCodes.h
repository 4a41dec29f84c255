// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between set-1 scan codes and USB HID keyboard usages (the key values of macros).
#pragma once

#include <cstdint>

namespace varnix {

// Scan codes follow PC scan code set 1; an extended key (0xE0 prefix) is written as
// 0xE000 plus its second byte, e.g. Right Ctrl = 0xE01D.
inline constexpr int kExtendedScanCodeBase = 0xE000;

// Mouse buttons have pseudo scan codes of their own.
inline constexpr int kMouseLeftScanCode = 240;
inline constexpr int kMouseRightScanCode = 241;
inline constexpr int kMouseMiddleScanCode = 242;

// The value both conversions give for "no key".
inline constexpr int kNoUsage = 0xFF;
inline constexpr int kNoScanCode = 0xFF;

// Key value stored in macros and devices for a scan code; 0xFF when the key has no usage.
std::uint8_t ScanCodeToUsage(int scanCode);

// Scan code of a HID keyboard usage (only its low byte is looked at); 0xFF when the usage has
// no key. Usages 0xF1..0xF3 are the mouse buttons' macro values and give their pseudo codes.
int usageToScanCode(int usage);

} // namespace varnix
