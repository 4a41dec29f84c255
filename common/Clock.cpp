// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Clock.h"

#include <chrono>
#include <thread>

namespace varnix {

std::uint64_t SystemClock::nowMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::uint32_t Clock::timeOfDayMs() {
    return static_cast<std::uint32_t>(nowMs() % kMsPerDay);
}

std::uint32_t SystemClock::timeOfDayMs() {
    using namespace std::chrono;
    const std::int64_t sinceEpoch =
        duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    // The system clock counts from midnight UTC and ignores leap seconds, so whole days divide.
    const std::int64_t day = kMsPerDay;
    return static_cast<std::uint32_t>((sinceEpoch % day + day) % day);
}

void SystemClock::sleepMs(int ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::uint64_t ManualClock::nowMs() {
    std::lock_guard lock(mutex_);
    return now_;
}

void ManualClock::sleepMs(int ms) {
    std::lock_guard lock(mutex_);
    pauses_.push_back(ms);
    if (ms > 0)
        now_ += static_cast<std::uint64_t>(ms);
}

void ManualClock::advance(std::uint64_t ms) {
    std::lock_guard lock(mutex_);
    now_ += ms;
}

std::vector<int> ManualClock::pauses() const {
    std::lock_guard lock(mutex_);
    return pauses_;
}

void ManualClock::clearPauses() {
    std::lock_guard lock(mutex_);
    pauses_.clear();
}

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

} // namespace varnix
