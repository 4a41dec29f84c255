// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ApplyRunner.h"

#include <exception>
#include <sys/prctl.h>

namespace varnix {

namespace {
constexpr unsigned long WorkerTimerSlackNs = 1;
} // namespace

ApplyRunner::ApplyRunner(Clock& clock, int closeDelayMs)
    : clock_(clock), closeDelayMs_(closeDelayMs) {}

ApplyRunner::~ApplyRunner() {
    wait();
}

bool ApplyRunner::start(Job job, ProgressCallback progress, FinishedCallback finished) {
    std::lock_guard lock(mutex_);
    if (running_)
        return false;
    if (worker_.joinable()) {
        // The previous worker is done or inside its finished callback; when that callback starts
        // the next apply itself, its thread touches nothing of the runner any more.
        if (worker_.get_id() == std::this_thread::get_id())
            worker_.detach();
        else
            worker_.join();
    }
    running_ = true;
    worker_ = std::thread([this, job = std::move(job), progress = std::move(progress),
                           finished = std::move(finished)] { work(job, progress, finished); });
    return true;
}

bool ApplyRunner::start(ApplyWriter& writer, ProgressCallback progress, FinishedCallback finished) {
    return start([&writer](const ProgressCallback& report) { return writer.write(report); },
                 std::move(progress), std::move(finished));
}

void ApplyRunner::work(const Job& job, const ProgressCallback& progress,
                       const FinishedCallback& finished) {
    // The protocol's pauses are the floor of an apply's duration; the default 50 us timer slack
    // would add to each of them, so the worker asks for exact wake-ups.
    ::prctl(PR_SET_TIMERSLACK, WorkerTimerSlackNs, 0, 0, 0);
    ApplyResult result;
    try {
        result = job(progress);
    } catch (const std::exception& error) {
        result = ApplyResult::failed(Status::Failed, error.what());
    } catch (...) {
        result = ApplyResult::failed(Status::Failed, "the writer failed");
    }
    clock_.sleepMs(closeDelayMs_);
    {
        std::lock_guard lock(mutex_);
        result_ = result;
        running_ = false;
    }
    if (finished) {
        try {
            finished(result);
        } catch (...) {
            // A failing receiver must not take the process down with an escaped exception.
        }
    }
}

ApplyResult ApplyRunner::wait() {
    std::unique_lock lock(mutex_);
    if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) {
        std::thread worker = std::move(worker_);
        lock.unlock();
        worker.join();
        lock.lock();
    }
    return result_;
}

} // namespace varnix
