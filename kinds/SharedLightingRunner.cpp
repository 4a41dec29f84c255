// SPDX-License-Identifier: GPL-3.0-or-later
#include "kinds/SharedLightingRunner.h"

#include "device/FindDev.h"
#include "kinds/SharedLightingWriter.h"

namespace varnix {

SharedLightingRunner::SharedLightingRunner(HidBackend& backend, std::filesystem::path resourceRoot,
                                           Clock& clock)
    : backend_(backend), resourceRoot_(std::move(resourceRoot)), clock_(clock) {}

SharedLightingRunner::~SharedLightingRunner() {
    wait();
}

void SharedLightingRunner::wait() {
    std::lock_guard lock(mutex_);
    if (worker_.joinable())
        worker_.join();
}

bool SharedLightingRunner::start(std::vector<DeviceRecord> devices, SharedLighting lighting,
                                 Finished finished, Preparation prepare) {
    bool idle = false;
    if (!running_.compare_exchange_strong(idle, true))
        return false;
    std::lock_guard lock(mutex_);
    // The previous worker has ended its write; it may still be returning from its callback.
    if (worker_.joinable())
        worker_.join();
    worker_ = std::thread([this, devices = std::move(devices), lighting = std::move(lighting),
                           finished = std::move(finished), prepare = std::move(prepare)]() mutable {
        Report report;
        if (prepare)
            report.prepared = prepare();
        // The worker's own device object: its own report buffer, pinned per device.
        FindDev device(backend_, clock_);
        device.DeviceList = std::move(devices);
        SharedLightingWriter writer(device, resourceRoot_);
        writer.setObservers(
            {}, [&report](std::size_t index, const DeviceRecord&, const ApplyResult& result) {
                (result.completed() ? report.written : report.missed).push_back(index);
            });
        writer.writeToDevices(lighting);
        running_.store(false);
        if (finished)
            finished(report);
    });
    return true;
}

} // namespace varnix
