// SPDX-License-Identifier: GPL-3.0-or-later
// The queue between the reader threads and the consumer, with the key maps it guards.
#pragma once

#include "device/DeviceEvent.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace varnix {

class DeviceEventQueue {
public:
    // Appends an event and wakes the consumer.
    void push(DeviceEvent event);
    // Waits for the front event; nullopt once close() was called and nothing is left.
    std::optional<DeviceEvent> waitPop();
    // Wakes and ends every waiter.
    void close();

    // A device's key map, replaced by its reader and searched by the consumer under the same lock.
    void setKeyMap(int deviceIndex, KeyMap keyMap);
    std::optional<int> buttonForKey(int deviceIndex, int keyCode) const;

private:
    mutable std::mutex lock_;
    std::condition_variable arrived_;
    std::deque<DeviceEvent> events_;
    std::map<int, KeyMap> keyMaps_;
    bool closed_ = false;
};

} // namespace varnix
