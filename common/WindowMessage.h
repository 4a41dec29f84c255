// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed numbers of the window messages, and the packing of their multi-field parameters.
// The core posts some of them (device events); the windows handle all of them.
#pragma once

#include <cstdint>

namespace varnix {

enum WindowMessage : int {
    WM_TrayIcon = 1025,         // tray icon mouse event; lParam = mouse message
    WM_MenuClick = 1027,        // menu item clicked; wParam = item name (QString*)
    WM_PopColorOk = 2025,       // colour picker confirmed; wParam = page code 1..4
    WM_MacroItemClosed = 2027,  // macro item popup closed
    WM_PopSetValue = 2028,      // key selection popup confirmed; wParam = page code 1 or 2
    WM_RecordingKey = 2029,     // key event while a macro is recorded
    WM_RunOnUiThread = 2030,    // wParam = UiCallable* to run on the UI thread
    WM_DpiStage = 2031,         // mouse DPI stage changed; wParam dpiStageParam, lParam device
    WM_ProfileChanged = 2032,   // mouse profile changed; wParam profileParam, lParam device
    WM_HomeRefresh = 2033,      // home page refresh
    WM_DeviceConfig = 2034,     // wParam = page code 1..3, lParam = operation 1 or 2
    WM_MacroItemCancel = 2035,  // macro item popup cancelled
    WM_AboutClosed = 2036,      // About popup
    WM_UpdateCheck = 2037,      // run the version check
    WM_KeyboardDataWarn = 2044, // keyboard page: data does not fit
    WM_MaxDataWarn = 2045,      // parameter image does not fit the device
    WM_MacroTakeKeys = 2047,    // macro page takes over a device page's key list
    WM_ApplyProgress = 2050,    // apply progress; wParam = percent 0..100
};

// The codes by which popups and messages name a page (2025, 2028, 2034, 2047).
enum PageCode : int { PageCodeMouse = 1, PageCodeKeyboard = 2, PageCodePad = 3, PageCodeHome = 4 };

// Mouse messages carried in lParam of WM_TrayIcon.
inline constexpr int TrayRightButtonUp = 0x205;
inline constexpr int TrayLeftDoubleClick = 0x203;

// wParam of WM_DpiStage and WM_ProfileChanged: the button index in bits 8..15, the new DPI stage
// (bits 0..2) or profile (bits 0..1) below it.
namespace mousereport {
inline constexpr unsigned ButtonShift = 8;
inline constexpr std::uint64_t ButtonMask = 0xFF;
inline constexpr std::uint64_t DpiStageMask = 7;
inline constexpr std::uint64_t ProfileMask = 3;
} // namespace mousereport

struct MouseReport {
    int value = 0;  // DPI stage or profile
    int button = 0; // index of the key that switched it, 0..11
};

constexpr std::uint64_t dpiStageParam(int button, int stage) {
    return ((static_cast<std::uint64_t>(button) & mousereport::ButtonMask)
            << mousereport::ButtonShift) |
           (static_cast<std::uint64_t>(stage) & mousereport::DpiStageMask);
}
constexpr std::uint64_t profileParam(int button, int profile) {
    return ((static_cast<std::uint64_t>(button) & mousereport::ButtonMask)
            << mousereport::ButtonShift) |
           (static_cast<std::uint64_t>(profile) & mousereport::ProfileMask);
}
constexpr MouseReport dpiStageReport(std::uint64_t wParam) {
    return {static_cast<int>(wParam & mousereport::DpiStageMask),
            static_cast<int>((wParam >> mousereport::ButtonShift) & mousereport::ButtonMask)};
}
constexpr MouseReport profileReport(std::uint64_t wParam) {
    return {static_cast<int>(wParam & mousereport::ProfileMask),
            static_cast<int>((wParam >> mousereport::ButtonShift) & mousereport::ButtonMask)};
}

} // namespace varnix
