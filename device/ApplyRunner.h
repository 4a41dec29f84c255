// SPDX-License-Identifier: GPL-3.0-or-later
// Runs one apply on a worker thread: progress to a callback, then the final result.
#pragma once

#include "common/Clock.h"
#include "device/ApplyResult.h"
#include "device/ApplyWriter.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace varnix {

// The pause between the writer's end and the final result, which lets the progress popup show
// its last state before it closes.
inline constexpr int ApplyCloseDelayMs = 20;

class ApplyRunner {
public:
    using Job = std::function<ApplyResult(const ProgressCallback&)>;
    using FinishedCallback = std::function<void(const ApplyResult&)>;

    explicit ApplyRunner(Clock& clock = systemClock(), int closeDelayMs = ApplyCloseDelayMs);
    // Waits for a running apply: the worker uses the writer and the callbacks until it ends.
    ~ApplyRunner();
    ApplyRunner(const ApplyRunner&) = delete;
    ApplyRunner& operator=(const ApplyRunner&) = delete;

    // Starts the job on a new worker thread. Both callbacks are called on that thread: progress
    // after every block (a UI may block it until the window shows the value), finished once at
    // the end, when running() is already false (a UI posts it on without blocking). Returns
    // false, and starts nothing, while an earlier apply is still running.
    bool start(Job job, ProgressCallback progress, FinishedCallback finished = {});
    // The writer must outlive the apply.
    bool start(ApplyWriter& writer, ProgressCallback progress, FinishedCallback finished = {});

    bool running() const { return running_.load(); }
    // Blocks until the worker has ended and returns its result (the last one, when none runs).
    ApplyResult wait();

private:
    void work(const Job& job, const ProgressCallback& progress, const FinishedCallback& finished);

    Clock& clock_;
    int closeDelayMs_;
    std::mutex mutex_; // guards worker_ and result_
    std::thread worker_;
    ApplyResult result_;
    std::atomic<bool> running_{false};
};

} // namespace varnix
