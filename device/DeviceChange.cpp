// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceChange.h"

#include "common/Diagnostics.h"

#include <algorithm>
#include <cctype>

namespace varnix {
namespace {

// Where the "VID_xxxx&PID_xxxx" text starts in an interface name, and its length.
constexpr std::size_t IdentificationOffset = 8;
constexpr std::size_t IdentificationLength = 17;
constexpr std::size_t ShortestInterfaceName = 5;

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace

std::string deviceInterfaceName(unsigned vendorId, unsigned productId, const std::string& node) {
    return formatText("\\\\?\\HID#VID_%04X&PID_%04X#%s", vendorId & 0xFFFF, productId & 0xFFFF,
                      node.c_str());
}

bool interfaceNameMatches(const DeviceRecord& record, const std::string& name) {
    if (name.size() <= IdentificationOffset)
        return false;
    return upper(name.substr(IdentificationOffset, IdentificationLength)) ==
           upper(record.identificationText());
}

bool HandleDeviceChange(FindDev& catalogue, DeviceChangeEvent event, const std::string& name) {
    if (name.size() < ShortestInterfaceName)
        return false;
    if (event == DeviceChangeEvent::Arrival) {
        for (DeviceRecord& record : catalogue.DeviceList) {
            if (record.isPlaceholder() || record.Connected || !interfaceNameMatches(record, name))
                continue;
            if (catalogue.OpenDevice(record))
                return true;
        }
    }
    for (DeviceRecord& record : catalogue.DeviceList) {
        if (record.isPlaceholder() || !record.Connected || !interfaceNameMatches(record, name))
            continue;
        // Probe with a scratch copy so the open connection is not replaced while still in use.
        DeviceRecord probe = record;
        probe.ReadHandle.reset();
        probe.WriteHandle.reset();
        SharedWriteHandle scratchTarget;
        FindDev prober(catalogue.backend(), catalogue.clock(), scratchTarget);
        if (prober.OpenDevice(probe)) {
            probe.closeConnection();
            continue;
        }
        if (catalogue.writeTarget().get() == record.WriteHandle)
            catalogue.writeTarget().clear();
        record.closeConnection();
        return true;
    }
    return false;
}

} // namespace varnix
