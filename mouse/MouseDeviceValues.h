// SPDX-License-Identifier: GPL-3.0-or-later
// What a mouse model becomes on the device side: key slots and types, DPI and LED values.
#pragma once

#include "macro/MacroGroup.h"
#include "mouse/MouseConfigModel.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace varnix {

namespace mousedevice {
inline constexpr int SlotCount = 14;      // device key slots 0..13 of a profile
inline constexpr int TypedSlotCount = 12; // slots whose key type byte is derived from the code
// Key type bytes.
inline constexpr std::uint8_t TypeNone = 0;
inline constexpr std::uint8_t TypeMacro = 13;
inline constexpr std::uint8_t TypeMacroWhileHeld = 14; // repeat until the key is released
inline constexpr std::uint8_t TypeConsumer = 15;
// Function code ranges.
inline constexpr int LastDirectCode = 28;    // 0..28 are their own type byte
inline constexpr int FirstConsumerCode = 29; // 29..39 consumer keys
inline constexpr int LastConsumerCode = 39;
inline constexpr int FirstShortcutCode = 40; // 40..48 shortcut macros
inline constexpr int LastShortcutCode = 48;
inline constexpr int FirstUserMacroCode = 50;
// Polling codes.
inline constexpr std::uint8_t PollingOther = 7;
} // namespace mousedevice

// One slot's type byte and, for consumer keys, the HID consumer usage.
struct MouseKeyType {
    std::uint8_t type = 0;
    std::uint16_t consumerUsage = 0;
    bool operator==(const MouseKeyType&) const = default;
};

// 4-bit inverted colour channels: 15 - (channel >> 4).
struct DeviceColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    static DeviceColour fromArgb(std::uint32_t colour);
    bool operator==(const DeviceColour&) const = default;
};

struct MouseDeviceDpi {
    bool enabled = false;
    std::uint8_t index = 0;
    DeviceColour colour;
};

struct MouseDeviceLedSlot {
    bool enabled = false;
    DeviceColour colour;
};

struct MouseSlotBinding {
    std::int32_t code = 0;
    std::string grpGuid;
    std::string macGuid;
    bool boundToMacro() const { return !grpGuid.empty() && !macGuid.empty(); }
};

using MouseSlotTable =
    std::array<std::array<MouseSlotBinding, mousedevice::SlotCount>, mousemodel::ProfileCount>;
using MouseTypeTable =
    std::array<std::array<MouseKeyType, mousedevice::SlotCount>, mousemodel::ProfileCount>;

struct MouseDeviceValues {
    MouseSlotTable slots;
    MouseTypeTable keyTypes{};
    std::uint8_t profile = 0;
    std::uint8_t dpiLevel = 0;
    std::uint32_t fire = 0;
    std::uint8_t pollingCode = mousedevice::PollingOther;
    std::uint8_t ledMode = 0;
    std::uint8_t ledBrightnessCode = 0; // 7 - brightness
    std::uint8_t ledSpeedCode = 0;      // speed - 1
    bool ledSymmetric = false;
    std::uint8_t ledDirection = 0;
    std::array<MouseDeviceDpi, mousemodel::DpiLevelCount> dpi{};
    std::uint8_t dpiEnableMask = 0;
    std::array<MouseDeviceLedSlot, mousemodel::LedSlotCount> led{};
    std::uint8_t ledEnableMask = 0;

    // Converts a model with the macro groups its keys refer to (the key code table, the key
    // types, the empty-macro pass and the remaining values).
    static MouseDeviceValues fromModel(const MouseConfigModel& model,
                                       const std::vector<MacroGroup>& macros);
};

// 3 -> 0, 2 -> 1, 1 -> 3, anything else -> 7.
std::uint8_t mousePollingCode(std::uint32_t rateusbvalue);

// The type byte of a function code; `macro` is the bound macro of codes 50 and up (null when
// none is found, which plays as a macro that does not repeat while held).
MouseKeyType mouseKeyType(std::int32_t code, const MacroData* macro);

// The macro (grpGuid, macGuid) names: the group by GUID, then the macro in it; null when absent.
const MacroRecord* findBoundMacro(const std::vector<MacroGroup>& macros, const std::string& grpGuid,
                                  const std::string& macGuid);

// A macro with nothing to play: macRpt, num, numXY and numWhl all 0.
bool isEmptyMacro(const MacroData& data);

} // namespace varnix
