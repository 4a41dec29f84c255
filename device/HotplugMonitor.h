// SPDX-License-Identifier: GPL-3.0-or-later
// The hot-plug seam: tells when a HID interface arrives or leaves.
#pragma once

#include <functional>
#include <string>

namespace varnix {

enum class DeviceChangeEvent { Arrival, Removal };

// The interface name carries "VID_xxxx&PID_xxxx" at character 8, e.g.
// "\\?\HID#VID_3151&PID_1441#/dev/hidraw3", as catalogue matching expects.
using DeviceChangeCallback = std::function<void(DeviceChangeEvent, const std::string& name)>;

class HotplugMonitor {
public:
    virtual ~HotplugMonitor() = default;
    // Starts reporting; the callback runs on a thread of the monitor's own.
    virtual bool start(DeviceChangeCallback callback) = 0;
    // Stops reporting; no callback runs after stop() returns.
    virtual void stop() = 0;
};

// "\\?\HID#VID_%04X&PID_%04X#<node>", the name form the monitors hand on.
std::string deviceInterfaceName(unsigned vendorId, unsigned productId, const std::string& node);

} // namespace varnix
