// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/SimulatedHotplugMonitor.h"

namespace varnix {

bool SimulatedHotplugMonitor::start(DeviceChangeCallback callback) {
    {
        std::lock_guard lock(mutex_);
        callback_ = std::move(callback);
    }
    backend_.setPlugObserver([this](int, const std::string& path, bool arrived) {
        std::lock_guard lock(mutex_);
        if (callback_)
            callback_(arrived ? DeviceChangeEvent::Arrival : DeviceChangeEvent::Removal, path);
    });
    return true;
}

void SimulatedHotplugMonitor::stop() {
    backend_.setPlugObserver(nullptr);
    std::lock_guard lock(mutex_);
    callback_ = nullptr;
}

} // namespace varnix
