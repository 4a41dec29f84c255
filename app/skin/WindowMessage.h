// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed numbers of the window messages the windows exchange.
#pragma once

namespace varnix {

enum WindowMessage : int {
    WM_TrayIcon = 1025,         // tray icon mouse event; lParam = mouse message
    WM_MenuClick = 1027,        // menu item clicked; wParam = item name (QString*)
    WM_PopColorOk = 2025,       // colour picker confirmed; wParam = page kind 1..4
    WM_MacroItemClosed = 2027,  // macro item popup closed
    WM_PopSetValue = 2028,      // key selection popup confirmed; wParam = 1 mouse, 2 keyboard
    WM_RecordingKey = 2029,     // key event while a macro is recorded
    WM_RunOnUiThread = 2030,    // wParam = UiCallable* to run on the UI thread
    WM_DpiStage = 2031,         // mouse DPI stage changed on the device
    WM_ProfileChanged = 2032,   // mouse profile changed on the device
    WM_HomeRefresh = 2033,      // home page refresh
    WM_DeviceConfig = 2034,     // wParam = page kind 1..3, lParam = operation 1 or 2
    WM_MacroItemCancel = 2035,  // macro item popup cancelled
    WM_AboutClosed = 2036,      // About popup
    WM_UpdateCheck = 2037,      // run the version check
    WM_KeyboardDataWarn = 2044, // keyboard page: data does not fit
    WM_MaxDataWarn = 2045,      // parameter image does not fit the device
    WM_MacroTakeKeys = 2047,    // macro page takes over a device page's key list
    WM_ApplyProgress = 2050,    // apply progress; wParam = percent 0..100
};

// Mouse messages carried in lParam of WM_TrayIcon.
inline constexpr int TrayRightButtonUp = 0x205;
inline constexpr int TrayLeftDoubleClick = 0x203;

} // namespace varnix
