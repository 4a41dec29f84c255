// SPDX-License-Identifier: GPL-3.0-or-later
// A key event reported by a mouse, the rules that turn input reports into events, and the
// messages the events become.
#pragma once

#include "device/HidBackend.h"

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <vector>

namespace varnix {

enum DeviceEventKind : std::int32_t { DpiKeyEvent = 1, ProfileKeyEvent = 2 };

struct DeviceEvent {
    std::int32_t devid = 0;       // index in the catalogue's DeviceList
    std::int32_t devenent = 0;    // DeviceEventKind
    std::int32_t eventvalue1 = 0; // byte 1 of the report: 240 + key number
    std::int32_t eventvalue2 = 0; // DPI event: byte 2 of the report
    HidHandlePtr writeHandle;     // profile event: the device's write collection
};

// Posts a window message; called from the consumer thread, so it must only queue.
using PostMessageFn = std::function<void(int message, std::uint64_t wParam, std::int64_t lParam)>;

// Device key code -> button index 0..11, from the mouse's feature profile.
using KeyMap = std::map<int, int>;

// What the reader needs from a mouse's feature profile, read again for every key report.
struct MouseEventRules {
    bool longHoldSwitch = false;
    KeyMap keyMap;
};
using MouseEventRulesLookup = std::function<MouseEventRules(int deviceIndex)>;

// Layout of the key report a mouse sends on its read collection.
namespace keyreport {
inline constexpr std::uint8_t ReportId = 6;
inline constexpr std::size_t KeyByte = 1;   // 240 + key number
inline constexpr std::size_t ValueByte = 2; // DPI stage / long-hold flag
inline constexpr int KeyBase = 240;
inline constexpr std::uint8_t LongHoldBit = 0x80;
inline constexpr std::uint8_t LongHoldOnly = 0x80;
} // namespace keyreport

// The feature report read for a profile event carries the profile in bits 2..3 of byte 6.
inline constexpr std::size_t ProfileFeatureByte = 6;
inline constexpr unsigned ProfileFeatureShift = 2;

// True for a mouse's key report: id 6 and a key byte above 240.
bool isMouseKeyReport(int devType, std::span<const std::uint8_t> report);

// Events a report from device `deviceIndex` produces (none for non-mice or other reports).
std::vector<DeviceEvent> eventsForInputReport(int deviceIndex, int devType,
                                              std::span<const std::uint8_t> report,
                                              bool longHoldSwitch, const HidHandlePtr& writeHandle);

} // namespace varnix
