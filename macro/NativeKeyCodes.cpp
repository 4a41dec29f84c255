// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/NativeKeyCodes.h"

#include <linux/input-event-codes.h>

namespace varnix {

namespace {

struct NativeKeyRow {
    int scanCode;
    int evdevCode;
};

// Where two scan codes name one evdev key, the first row is the one a native code turns into.
// Hangul and Hanja (plain 0xF2 / 0xF1 on some keyboards) are left out: those codes are the
// mouse buttons' pseudo scan codes here.
constexpr NativeKeyRow kNativeKeyTable[] = {
    // Keys whose set-1 code equals the evdev code.
    {0x01, KEY_ESC},
    {0x02, KEY_1},
    {0x03, KEY_2},
    {0x04, KEY_3},
    {0x05, KEY_4},
    {0x06, KEY_5},
    {0x07, KEY_6},
    {0x08, KEY_7},
    {0x09, KEY_8},
    {0x0A, KEY_9},
    {0x0B, KEY_0},
    {0x0C, KEY_MINUS},
    {0x0D, KEY_EQUAL},
    {0x0E, KEY_BACKSPACE},
    {0x0F, KEY_TAB},
    {0x10, KEY_Q},
    {0x11, KEY_W},
    {0x12, KEY_E},
    {0x13, KEY_R},
    {0x14, KEY_T},
    {0x15, KEY_Y},
    {0x16, KEY_U},
    {0x17, KEY_I},
    {0x18, KEY_O},
    {0x19, KEY_P},
    {0x1A, KEY_LEFTBRACE},
    {0x1B, KEY_RIGHTBRACE},
    {0x1C, KEY_ENTER},
    {0x1D, KEY_LEFTCTRL},
    {0x1E, KEY_A},
    {0x1F, KEY_S},
    {0x20, KEY_D},
    {0x21, KEY_F},
    {0x22, KEY_G},
    {0x23, KEY_H},
    {0x24, KEY_J},
    {0x25, KEY_K},
    {0x26, KEY_L},
    {0x27, KEY_SEMICOLON},
    {0x28, KEY_APOSTROPHE},
    {0x29, KEY_GRAVE},
    {0x2A, KEY_LEFTSHIFT},
    {0x2B, KEY_BACKSLASH},
    {0x2C, KEY_Z},
    {0x2D, KEY_X},
    {0x2E, KEY_C},
    {0x2F, KEY_V},
    {0x30, KEY_B},
    {0x31, KEY_N},
    {0x32, KEY_M},
    {0x33, KEY_COMMA},
    {0x34, KEY_DOT},
    {0x35, KEY_SLASH},
    {0xE036, KEY_RIGHTSHIFT},
    {0x36, KEY_RIGHTSHIFT},
    {0x37, KEY_KPASTERISK},
    {0x38, KEY_LEFTALT},
    {0x39, KEY_SPACE},
    {0x3A, KEY_CAPSLOCK},
    {0x3B, KEY_F1},
    {0x3C, KEY_F2},
    {0x3D, KEY_F3},
    {0x3E, KEY_F4},
    {0x3F, KEY_F5},
    {0x40, KEY_F6},
    {0x41, KEY_F7},
    {0x42, KEY_F8},
    {0x43, KEY_F9},
    {0x44, KEY_F10},
    {0x46, KEY_SCROLLLOCK},
    {0x47, KEY_KP7},
    {0x48, KEY_KP8},
    {0x49, KEY_KP9},
    {0x4A, KEY_KPMINUS},
    {0x4B, KEY_KP4},
    {0x4C, KEY_KP5},
    {0x4D, KEY_KP6},
    {0x4E, KEY_KPPLUS},
    {0x4F, KEY_KP1},
    {0x50, KEY_KP2},
    {0x51, KEY_KP3},
    {0x52, KEY_KP0},
    {0x53, KEY_KPDOT},
    // Plain keys with other evdev codes.
    {0x45, KEY_PAUSE},
    {0x56, KEY_102ND},
    {0x57, KEY_F11},
    {0x58, KEY_F12},
    {0x59, KEY_KPEQUAL},
    {0x64, KEY_F13},
    {0x65, KEY_F14},
    {0x66, KEY_F15},
    {0x67, KEY_F16},
    {0x68, KEY_F17},
    {0x69, KEY_F18},
    {0x6A, KEY_F19},
    {0x6B, KEY_F20},
    {0x6C, KEY_F21},
    {0x6D, KEY_F22},
    {0x6E, KEY_F23},
    {0x76, KEY_F24},
    {0x70, KEY_KATAKANAHIRAGANA},
    {0x73, KEY_RO},
    {0x79, KEY_HENKAN},
    {0x7B, KEY_MUHENKAN},
    {0x7D, KEY_YEN},
    {0x7E, KEY_KPCOMMA},
    // Extended keys.
    {0xE01C, KEY_KPENTER},
    {0xE01D, KEY_RIGHTCTRL},
    {0xE035, KEY_KPSLASH},
    {0xE037, KEY_SYSRQ},
    {0x54, KEY_SYSRQ},
    {0xE038, KEY_RIGHTALT},
    {0xE045, KEY_NUMLOCK},
    {0xE047, KEY_HOME},
    {0xE048, KEY_UP},
    {0xE049, KEY_PAGEUP},
    {0xE04B, KEY_LEFT},
    {0xE04D, KEY_RIGHT},
    {0xE04F, KEY_END},
    {0xE050, KEY_DOWN},
    {0xE051, KEY_PAGEDOWN},
    {0xE052, KEY_INSERT},
    {0xE053, KEY_DELETE},
    {0xE05B, KEY_LEFTMETA},
    {0xE05C, KEY_RIGHTMETA},
    {0xE05D, KEY_COMPOSE},
    // Extended media, browser and power keys.
    {0xE010, KEY_PREVIOUSSONG},
    {0xE019, KEY_NEXTSONG},
    {0xE020, KEY_MUTE},
    {0xE021, KEY_CALC},
    {0xE022, KEY_PLAYPAUSE},
    {0xE024, KEY_STOPCD},
    {0xE02E, KEY_VOLUMEDOWN},
    {0xE030, KEY_VOLUMEUP},
    {0xE032, KEY_HOMEPAGE},
    {0xE05E, KEY_POWER},
    {0xE05F, KEY_SLEEP},
    {0xE063, KEY_WAKEUP},
    {0xE065, KEY_SEARCH},
    {0xE066, KEY_BOOKMARKS},
    {0xE067, KEY_REFRESH},
    {0xE068, KEY_STOP},
    {0xE069, KEY_FORWARD},
    {0xE06A, KEY_BACK},
    {0xE06B, KEY_COMPUTER},
    {0xE06C, KEY_MAIL},
    {0xE06D, KEY_MEDIA},
};

} // namespace

int scanCodeForEvdevCode(int evdevCode) {
    for (const NativeKeyRow& row : kNativeKeyTable) {
        if (row.evdevCode == evdevCode)
            return row.scanCode;
    }
    return 0;
}

int scanCodeForX11KeyCode(int x11KeyCode) {
    if (x11KeyCode < kXkbKeyCodeOffset)
        return 0;
    return scanCodeForEvdevCode(x11KeyCode - kXkbKeyCodeOffset);
}

int evdevCodeForScanCode(int scanCode) {
    for (const NativeKeyRow& row : kNativeKeyTable) {
        if (row.scanCode == scanCode)
            return row.evdevCode;
    }
    return -1;
}

} // namespace varnix
