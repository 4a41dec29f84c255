// SPDX-License-Identifier: GPL-3.0-or-later
// Hot-plug events of the simulated backend's plug and unplug, in the real monitor's name form.
#pragma once

#include "device/HotplugMonitor.h"
#include "device/SimulatedBackend.h"

#include <mutex>

namespace varnix {

class SimulatedHotplugMonitor final : public HotplugMonitor {
public:
    explicit SimulatedHotplugMonitor(SimulatedBackend& backend) : backend_(backend) {}
    ~SimulatedHotplugMonitor() override { stop(); }
    bool start(DeviceChangeCallback callback) override;
    void stop() override;

private:
    SimulatedBackend& backend_;
    std::mutex mutex_;
    DeviceChangeCallback callback_;
};

} // namespace varnix
