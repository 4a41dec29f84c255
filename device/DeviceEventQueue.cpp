// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceEventQueue.h"

namespace varnix {

void DeviceEventQueue::push(DeviceEvent event) {
    {
        std::lock_guard guard(lock_);
        events_.push_back(std::move(event));
    }
    arrived_.notify_one();
}

std::optional<DeviceEvent> DeviceEventQueue::waitPop() {
    std::unique_lock guard(lock_);
    arrived_.wait(guard, [this] { return closed_ || !events_.empty(); });
    if (events_.empty())
        return std::nullopt;
    DeviceEvent event = std::move(events_.front());
    events_.pop_front();
    return event;
}

void DeviceEventQueue::close() {
    {
        std::lock_guard guard(lock_);
        closed_ = true;
    }
    arrived_.notify_all();
}

void DeviceEventQueue::setKeyMap(int deviceIndex, KeyMap keyMap) {
    std::lock_guard guard(lock_);
    keyMaps_[deviceIndex] = std::move(keyMap);
}

std::optional<int> DeviceEventQueue::buttonForKey(int deviceIndex, int keyCode) const {
    std::lock_guard guard(lock_);
    const auto map = keyMaps_.find(deviceIndex);
    if (map == keyMaps_.end())
        return std::nullopt;
    const auto button = map->second.find(keyCode);
    if (button == map->second.end())
        return std::nullopt;
    return button->second;
}

} // namespace varnix
