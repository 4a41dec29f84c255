// SPDX-License-Identifier: GPL-3.0-or-later
// The real hot-plug monitor: a libudev monitor on hidraw arrivals and hid removals.
#pragma once

#include "device/HotplugMonitor.h"

#include <atomic>
#include <thread>

struct udev;
struct udev_monitor;

namespace varnix {

class UdevHotplugMonitor final : public HotplugMonitor {
public:
    UdevHotplugMonitor() = default;
    ~UdevHotplugMonitor() override;
    bool start(DeviceChangeCallback callback) override;
    void stop() override;

private:
    void run(DeviceChangeCallback callback);

    std::thread thread_;
    int wakePipe_[2] = {-1, -1};
    ::udev* udev_ = nullptr;
    ::udev_monitor* monitor_ = nullptr;
};

} // namespace varnix
