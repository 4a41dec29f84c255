// SPDX-License-Identifier: GPL-3.0-or-later
// Time seam: every pause and time stamp of the core goes through a Clock.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace varnix {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a monotonic scale; only differences are meaningful.
    virtual std::uint64_t nowMs() = 0;
    // Pauses the calling thread for the given number of milliseconds.
    virtual void sleepMs(int ms) = 0;
    // Milliseconds since midnight UTC, 0..86399999. Unless a clock knows the time of day,
    // its monotonic scale taken modulo one day stands in.
    virtual std::uint32_t timeOfDayMs();

    static constexpr std::uint32_t kMsPerDay = 24u * 60u * 60u * 1000u;
};

// The real clock: steady time and real sleeps.
class SystemClock final : public Clock {
public:
    std::uint64_t nowMs() override;
    void sleepMs(int ms) override;
    std::uint32_t timeOfDayMs() override;
};

// A clock for tests: sleeping advances time at once and is recorded.
class ManualClock final : public Clock {
public:
    std::uint64_t nowMs() override;
    void sleepMs(int ms) override;
    void advance(std::uint64_t ms);
    std::vector<int> pauses() const;
    void clearPauses();

private:
    mutable std::mutex mutex_;
    std::uint64_t now_ = 0;
    std::vector<int> pauses_;
};

// The process-wide real clock.
Clock& systemClock();

} // namespace varnix
