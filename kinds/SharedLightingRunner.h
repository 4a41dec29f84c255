// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the shared lighting write on a worker thread, one write at a time, so that the window
// never waits for the devices.
#pragma once

#include "common/Clock.h"
#include "common/Outcome.h"
#include "device/DeviceRecord.h"
#include "device/HidBackend.h"
#include "lighting/SharedLighting.h"

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace varnix {

class SharedLightingRunner {
public:
    // What one write reached, by index into the device list it was given.
    struct Report {
        std::vector<std::size_t> written;
        std::vector<std::size_t> missed; // not written completely (pulled out, refused)
        Outcome prepared;                // what the step before the write answered
    };
    // A step the worker runs before it writes (saving the file the effect came from), so that
    // the caller's thread does not wait for the disk either.
    using Preparation = std::function<Outcome()>;
    // Called once on the worker when a write ends; running() is already false then.
    using Finished = std::function<void(const Report&)>;

    SharedLightingRunner(HidBackend& backend, std::filesystem::path resourceRoot,
                         Clock& clock = systemClock());
    // Waits for a write on its way: the worker uses the backend and the callback until it ends.
    ~SharedLightingRunner();
    SharedLightingRunner(const SharedLightingRunner&) = delete;
    SharedLightingRunner& operator=(const SharedLightingRunner&) = delete;

    // Writes the effect to every connected record of `devices` on a worker thread. The records
    // are the caller's copy: the worker never reads a device list that hot-plug changes, and each
    // device's frames go to its own write handle (a handle closed by an unplug fails harmlessly,
    // that device is missed and the others still get the effect). Returns false, and starts
    // nothing, while an earlier write is still running.
    bool start(std::vector<DeviceRecord> devices, SharedLighting lighting, Finished finished,
               Preparation prepare = {});
    bool running() const { return running_.load(); }
    // Blocks until the write on its way has ended.
    void wait();

private:
    HidBackend& backend_;
    std::filesystem::path resourceRoot_;
    Clock& clock_;
    std::mutex mutex_; // guards worker_
    std::thread worker_;
    std::atomic<bool> running_{false};
};

} // namespace varnix
