// SPDX-License-Identifier: GPL-3.0-or-later
// Native key codes (Linux evdev and X11/xkb key codes) to set-1 scan codes and back.
#pragma once

namespace varnix {

// X11 and xkb number keys as the evdev code plus 8.
inline constexpr int kXkbKeyCodeOffset = 8;

// Set-1 scan code (extended keys as 0xE000 + byte) of an evdev key code; 0 when the key has
// none. A key the keyboard hook reports in two forms gets the form the conversions expect:
// Right Shift is 0xE036, Print Screen 0xE037, Num Lock 0xE045 and Pause the plain 0x45.
int scanCodeForEvdevCode(int evdevCode);

// The same for an X11 / xkb key code (what a keyboard grab under X reports).
int scanCodeForX11KeyCode(int x11KeyCode);

// Evdev key code of a set-1 scan code; -1 when no key has it (mouse pseudo codes included).
int evdevCodeForScanCode(int scanCode);

} // namespace varnix
