// SPDX-License-Identifier: GPL-3.0-or-later
// The apply worker: a writer on its own thread, progress to a callback, one final result.
#include "device/ApplyRunner.h"

#include "device/KeyboardWriter.h"
#include "device/SimulatedBackend.h"

#include <condition_variable>
#include <future>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdexcept>

namespace varnix {
namespace {

using ::testing::ElementsAre;

// Collects what the worker reports, the way a window would receive it.
struct Receiver {
    std::mutex mutex;
    std::vector<int> progress;
    std::vector<std::thread::id> progressThreads;
    std::vector<ApplyResult> results;
    std::thread::id finishedThread;

    ProgressCallback onProgress() {
        return [this](int percent) {
            std::lock_guard lock(mutex);
            progress.push_back(percent);
            progressThreads.push_back(std::this_thread::get_id());
        };
    }
    ApplyRunner::FinishedCallback onFinished() {
        return [this](const ApplyResult& result) {
            std::lock_guard lock(mutex);
            results.push_back(result);
            finishedThread = std::this_thread::get_id();
        };
    }
};

TEST(ApplyRunnerTest, RunsTheWriterOnAWorkerAndReportsProgressThenTheResult) {
    ManualClock clock;
    SimulatedBackend backend({{0x3151, 0x2351, "Tavro_Quenra-Sel1", 0, 4096, true, false}}, clock);
    SharedWriteHandle target;
    FindDev dev(backend, clock, target);
    ASSERT_TRUE(dev.OpenDevice(dev.DeviceList[5]));
    clock.clearPauses();

    ParameterImage image;
    for (int address = 5; address <= 9; ++address)
        image.add(address, 0x77);
    KeyboardWriter writer(dev, image);
    Receiver receiver;
    ApplyRunner runner(clock);
    ASSERT_TRUE(runner.start(writer, receiver.onProgress(), receiver.onFinished()));
    const ApplyResult result = runner.wait();

    EXPECT_TRUE(result.completed());
    EXPECT_FALSE(runner.running());
    EXPECT_THAT(receiver.progress, ElementsAre(60, 100, 100));
    ASSERT_EQ(receiver.results.size(), 1u);
    EXPECT_TRUE(receiver.results[0].completed());
    for (std::thread::id id : receiver.progressThreads)
        EXPECT_NE(id, std::this_thread::get_id());
    EXPECT_NE(receiver.finishedThread, std::this_thread::get_id());
    // The writer's pauses, then the pause before the result closes the progress window.
    EXPECT_THAT(clock.pauses(), ElementsAre(2, 8, 2, 8, 5, ApplyCloseDelayMs));
    EXPECT_EQ(backend.memory(0)[9], 0x77);
}

TEST(ApplyRunnerTest, RefusesASecondStartWhileAnApplyRunsAndAcceptsOneAfterIt) {
    ManualClock clock;
    ApplyRunner runner(clock);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    ASSERT_TRUE(runner.start(
        [released](const ProgressCallback&) {
            released.wait();
            return ApplyResult{};
        },
        {}));
    EXPECT_TRUE(runner.running());
    EXPECT_FALSE(runner.start([](const ProgressCallback&) { return ApplyResult{}; }, {}));
    release.set_value();
    EXPECT_TRUE(runner.wait().completed());

    ASSERT_TRUE(runner.start(
        [](const ProgressCallback&) {
            return ApplyResult::failed(Status::TooLarge, "too large");
        },
        {}));
    EXPECT_EQ(runner.wait().status, Status::TooLarge);
}

TEST(ApplyRunnerTest, WriterThatThrowsEndsWithAFailedResult) {
    ManualClock clock;
    Receiver receiver;
    ApplyRunner runner(clock);
    runner.start([](const ProgressCallback&) -> ApplyResult { throw std::runtime_error("boom"); },
                 receiver.onProgress(), receiver.onFinished());
    const ApplyResult result = runner.wait();
    EXPECT_EQ(result.status, Status::Failed);
    EXPECT_EQ(result.detail, "boom");
    ASSERT_EQ(receiver.results.size(), 1u);
    EXPECT_EQ(receiver.results[0].status, Status::Failed);
}

TEST(ApplyRunnerTest, FinishedCallbackMayStartTheNextApply) {
    ManualClock clock;
    ApplyRunner runner(clock, 0);
    std::mutex mutex;
    std::condition_variable done;
    int finished = 0;
    auto job = [](const ProgressCallback& progress) {
        progress(100);
        return ApplyResult{};
    };
    auto onFinished = [&](const ApplyResult&) {
        std::lock_guard lock(mutex);
        ++finished;
        done.notify_all();
    };
    ASSERT_TRUE(runner.start(job, {}, [&](const ApplyResult& result) {
        EXPECT_FALSE(runner.running());
        EXPECT_TRUE(runner.start(job, {}, onFinished));
        onFinished(result);
    }));
    std::unique_lock lock(mutex);
    ASSERT_TRUE(done.wait_for(lock, std::chrono::seconds(10), [&] { return finished == 2; }));
    lock.unlock();
    runner.wait();
}

TEST(ApplyRunnerTest, DestroyingTheRunnerWaitsForTheWorker) {
    ManualClock clock;
    std::atomic<bool> ended{false};
    {
        ApplyRunner runner(clock);
        runner.start(
            [&](const ProgressCallback&) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                ended = true;
                return ApplyResult{};
            },
            {});
    }
    EXPECT_TRUE(ended);
}

} // namespace
} // namespace varnix

namespace varnix {
namespace {

// A clock whose first pause holds the worker until the test lets it go on, so that something can
// happen in the middle of an apply.
class GateClock final : public Clock {
public:
    std::uint64_t nowMs() override { return now_.fetch_add(1); }
    void sleepMs(int) override {
        std::unique_lock lock(mutex_);
        if (paused_)
            return;
        paused_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return released_; });
    }
    void waitUntilPaused() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return paused_; });
    }
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

private:
    std::atomic<std::uint64_t> now_{0};
    std::mutex mutex_;
    std::condition_variable changed_;
    bool paused_ = false;
    bool released_ = false;
};

TEST(PinnedWriteTargetTest, AKeyboardPluggedInDuringAnApplyGetsNoneOfItsFrames) {
    constexpr std::size_t FirstKeyboardRow = 5;  // "Tavro_Quenra-Sel1" of the built-in table
    constexpr std::size_t SecondKeyboardRow = 6; // "Tavro_Quenra-Sel2"
    GateClock clock;
    SimulatedBackend backend({{0x3151, 0x2351, "Tavro_Quenra-Sel1", 0, 4096, true, false},
                              {0x3151, 0x2351, "Tavro_Quenra-Sel2", 0, 4096, false, false}},
                             clock);
    SharedWriteHandle target;
    FindDev catalogue(backend, clock, target);  // opens the devices as they arrive
    FindDev pageDevice(backend, clock, target); // the keyboard page's device object
    ASSERT_TRUE(catalogue.OpenDevice(catalogue.DeviceList[FirstKeyboardRow]));
    ParameterImage image;
    for (int address = 0; address < 40; ++address)
        image.add(address, static_cast<std::uint8_t>(0x80 + address));
    KeyboardWriter writer(pageDevice, image);

    Receiver receiver;
    ApplyRunner runner(clock, 0);
    ASSERT_TRUE(runner.start(writer, receiver.onProgress()));
    clock.waitUntilPaused(); // the first block is staged, its commit not sent yet
    backend.plug(1);
    ASSERT_TRUE(catalogue.OpenDevice(catalogue.DeviceList[SecondKeyboardRow]));
    // Opening a keyboard makes it the process-wide target ...
    ASSERT_EQ(target.get(), catalogue.DeviceList[SecondKeyboardRow].WriteHandle);
    clock.release();
    const ApplyResult result = runner.wait();

    // ... but the apply stays with the keyboard it started on.
    EXPECT_TRUE(result.completed()) << result.detail;
    EXPECT_EQ(receiver.progress.back(), 100);
    EXPECT_TRUE(backend.sentFrames(1).empty());
    // Five blocks of eight: eight stage frames, commit and end each; then activate and end.
    EXPECT_EQ(backend.sentFrames(0).size(), 5u * (8 + 2) + 2);
    const std::vector<std::uint8_t> memory = backend.memory(0);
    for (int address = 0; address < 40; ++address)
        EXPECT_EQ(memory[static_cast<std::size_t>(address)], 0x80 + address) << address;
    EXPECT_EQ(backend.activationCount(0), 1);
    EXPECT_EQ(backend.activationCount(1), 0);
}

} // namespace
} // namespace varnix
