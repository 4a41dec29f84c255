// SPDX-License-Identifier: GPL-3.0-or-later
// What a device arrival or removal does to the catalogue's records.
#pragma once

#include "device/FindDev.h"
#include "device/HotplugMonitor.h"

#include <string>

namespace varnix {

// Arrival opens the first matching record that is not connected; when none opens (and on
// removal) the first matching connected record that no longer opens is closed. Records named
// "Null" are never touched. True when a record changed state.
bool HandleDeviceChange(FindDev& catalogue, DeviceChangeEvent event, const std::string& name);

// True when the interface name's 17 characters from index 8 equal the record's "VID_%X&PID_%X".
bool interfaceNameMatches(const DeviceRecord& record, const std::string& name);

} // namespace varnix
