// SPDX-License-Identifier: GPL-3.0-or-later
// Apply time on a simulated device with the real clock, against the pauses the protocol
// mandates for the same image: 2 + 8 ms per block, 5 ms after activation, and the 20 ms the
// worker waits before the progress window closes. Goal: wall time / pauses <= 1.05.
//   build/bench/apply_bench [repetitions, default 3]
#include "common/Diagnostics.h"
#include "device/ApplyRunner.h"
#include "device/ImageWriteOut.h"
#include "device/KeyboardWriter.h"
#include "device/MouseWriter.h"
#include "device/SimulatedBackend.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace varnix;
using WallClock = std::chrono::steady_clock;

namespace {

constexpr std::size_t KeyboardRow = 5;
constexpr std::size_t MouseRow = 0;
constexpr int KeyboardImageBytes = 1024;
constexpr int MouseImageBytes = 3072;

void fill(ParameterImage& image, int first, int last, std::size_t limit) {
    for (int address = first; address <= last && image.size() < limit; ++address)
        image.add(address, static_cast<std::uint8_t>(address * 7));
}

// Header, key table, Fn table and macro directory at their keyboard offsets, then macro bodies
// from the first multiple of 8 after the directory until the image holds 1 KiB.
ParameterImage keyboardLikeImage() {
    ParameterImage image;
    fill(image, 0, 32, KeyboardImageBytes);
    fill(image, 72, 347, KeyboardImageBytes);
    fill(image, 352, 0x3FFF, KeyboardImageBytes);
    return image;
}

// The mouse header (address 1 and 8..109, 2..7 left out), then a macro area until 3 KiB.
ParameterImage mouseLikeImage() {
    ParameterImage image;
    fill(image, 1, 1, MouseImageBytes);
    fill(image, 8, 109, MouseImageBytes);
    fill(image, 112, 0x3FFF, MouseImageBytes);
    return image;
}

int mandatedPauseMs(const ParameterImage& image, int blockSize, int stop) {
    const auto runs = static_cast<int>(ImageWriteOut::planRuns(image, blockSize, stop).size());
    return runs * (pause::BeforeCommit + pause::AfterCommit) + pause::AfterActivate +
           ApplyCloseDelayMs;
}

struct Figures {
    double bestMs = 0;
    double meanMs = 0;
};

// Runs the writer through the apply runner, as the progress window does, and times it.
Figures measure(ApplyWriter& writer, int repetitions, Clock& clock = systemClock()) {
    std::atomic<int> lastPercent{0};
    ApplyRunner runner(clock);
    Figures figures;
    figures.bestMs = 1e300;
    double totalMs = 0;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = WallClock::now();
        runner.start(writer, [&](int percent) { lastPercent.store(percent); });
        const ApplyResult result = runner.wait();
        const double ms =
            std::chrono::duration<double, std::milli>(WallClock::now() - start).count();
        if (!result.completed() || lastPercent.load() != 100) {
            std::fprintf(stderr, "apply failed: %s\n", result.detail.c_str());
            std::exit(1);
        }
        figures.bestMs = std::min(figures.bestMs, ms);
        totalMs += ms;
    }
    figures.meanMs = totalMs / repetitions;
    return figures;
}

// work: the same apply on a clock that records the pauses without sleeping, which leaves the
// cost of everything but the pauses (frames, the virtual device, progress, the worker thread).
void report(const char* name, const ParameterImage& image, int blockSize, int stop,
            const Figures& figures, const Figures& work) {
    const int pauses = mandatedPauseMs(image, blockSize, stop);
    std::printf("%-21s %4zu bytes, %3zu blocks of <= %2d: wall %7.1f ms (best %7.1f), pauses "
                "%5d ms, ratio %.4f (best %.4f); without pauses %.2f ms\n",
                name, image.size(), ImageWriteOut::planRuns(image, blockSize, stop).size(),
                blockSize, figures.meanMs, figures.bestMs, pauses, figures.meanMs / pauses,
                figures.bestMs / pauses, work.meanMs);
}

} // namespace

int main(int argc, char** argv) {
    const int repetitions = std::max(1, argc > 1 ? std::atoi(argv[1]) : 3);
    setDiagnosticSink([](DiagnosticChannel, const std::string&) {});

    SimulatedBackend backend({{0x3151, 0x1441, "Tavro_Quenra-Rum1", 0, 16384, true, false},
                              {0x3151, 0x2351, "Tavro_Quenra-Sel1", 0, 16384, true, false}});
    SharedWriteHandle target;
    FindDev device(backend, systemClock(), target);
    ManualClock noSleep;
    FindDev unpaced(backend, noSleep, target);
    for (std::size_t row : {MouseRow, KeyboardRow})
        if (!device.OpenDevice(device.DeviceList[row])) {
            std::fprintf(stderr, "cannot open the simulated devices\n");
            return 1;
        }
    std::printf("apply on the simulated device, real clock, %d repetitions\n", repetitions);

    const ParameterImage keyboardImage = keyboardLikeImage();
    target.set(device.DeviceList[KeyboardRow].WriteHandle);
    KeyboardWriter keyboard(device, keyboardImage, 16383);
    KeyboardWriter keyboardUnpaced(unpaced, keyboardImage, 16383);
    const Figures keyboardWork = measure(keyboardUnpaced, repetitions, noSleep);
    report("keyboard-like, 1 KiB", keyboardImage, SmallBlockSize,
           KeyboardWriter::stopOf(keyboardImage), measure(keyboard, repetitions),
           keyboardWork);

    const ParameterImage mouseImage = mouseLikeImage();
    target.set(device.DeviceList[MouseRow].WriteHandle);
    MouseWriter mouse(device, mouseImage);
    MouseWriter mouseUnpaced(unpaced, mouseImage);
    const Figures mouseWork = measure(mouseUnpaced, repetitions, noSleep);
    report("mouse-like, 3 KiB", mouseImage, LargeBlockSize, MouseWriter::stopOf(mouseImage),
           measure(mouse, repetitions), mouseWork);
    return 0;
}
