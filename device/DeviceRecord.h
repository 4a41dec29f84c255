// SPDX-License-Identifier: GPL-3.0-or-later
// One catalogue entry and device slot: model identity, card appearance, folder, connection.
#pragma once

#include "device/HidBackend.h"

#include <array>
#include <cstdint>
#include <string>

namespace varnix {

// USB vendor id shared by every model of the family.
inline constexpr int FamilyVendorId = 0x3151;

// Placeholder name: a record with this DevName is never opened.
inline constexpr const char* NullDeviceName = "Null";

inline constexpr int UnknownBaseAddress = 255;

enum DeviceType : std::int32_t { DevTypeMouse = 1, DevTypeKeyboard = 2, DevTypePad = 3 };

// Capabilities of the input collection kept with an open record.
struct HidCaps {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
};

struct DeviceRecord {
    std::int32_t DevType = 0;
    std::int32_t Pid = 0;
    std::int32_t Vid = FamilyVendorId;
    std::int32_t BaseAddress = UnknownBaseAddress;
    std::string DevName;
    std::string UITextName;
    std::string DevicePath;
    std::int32_t Connected = 0;
    HidHandlePtr WriteHandle;
    HidHandlePtr ReadHandle;
    std::string NormalImage;
    std::string HotImage;
    std::string PushedImage;
    std::string DevFolder;
    std::string DevTypeString;
    std::int32_t Width = 100;
    std::int32_t Height = 100;
    std::array<std::int32_t, 4> Padding{0, 0, 0, 0};
    std::int32_t DevCmpStr = 1;
    std::int32_t DevNO = 0;
    HidCaps Caps;

    bool isPlaceholder() const { return DevName == NullDeviceName; }
    // "VID_%X&PID_%X", the text hot-plug matching compares interface names with.
    std::string identificationText() const;
    // Back to the closed state: handles closed, not connected, no path, base address unknown.
    void closeConnection();
};

} // namespace varnix
