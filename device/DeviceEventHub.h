// SPDX-License-Identifier: GPL-3.0-or-later
// Owns the device event threads: one input-report reader per connected device and one consumer
// that turns key events into posted window messages.
#pragma once

#include "common/Clock.h"
#include "device/DeviceEventQueue.h"
#include "device/DeviceRecord.h"

#include <atomic>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace varnix {

class DeviceEventHub {
public:
    // `rules` is asked for a mouse's long-hold switch and key map on every key report (from the
    // reader threads); `post` queues a message for the main window (from the consumer thread).
    DeviceEventHub(MouseEventRulesLookup rules, PostMessageFn post, Clock& clock = systemClock());
    ~DeviceEventHub();
    DeviceEventHub(const DeviceEventHub&) = delete;
    DeviceEventHub& operator=(const DeviceEventHub&) = delete;

    // Starts a reader for every connected device that has none running on its current handle and
    // stops the readers of devices that are gone or were reopened.
    void startReaders(const std::vector<DeviceRecord>& devices);
    // Stops every reader (the consumer keeps running).
    void stopReaders();
    int runningReaders() const;

    // Handles one event as the consumer does (public for tests of the rules).
    void consume(const DeviceEvent& event);
    DeviceEventQueue& queue() { return queue_; }

private:
    class Reader;

    void consumerLoop();

    MouseEventRulesLookup rules_;
    PostMessageFn post_;
    Clock& clock_;
    DeviceEventQueue queue_;
    std::map<int, std::unique_ptr<Reader>> readers_; // by device index; UI thread only
    std::thread consumer_;
};

} // namespace varnix
