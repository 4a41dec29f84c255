// SPDX-License-Identifier: GPL-3.0-or-later
// Device event figures with three simulated devices connected: idle CPU of the event threads
// and the latency from an injected DPI key report to the posted 2031 message.
//   build/bench/device_event_bench [idle seconds, default 10] [presses, default 1000]
#include "common/Diagnostics.h"
#include "device/DeviceEventHub.h"
#include "device/FindDev.h"
#include "device/SimulatedBackend.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

using namespace varnix;
using WallClock = std::chrono::steady_clock;

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char** argv) {
    const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const int presses = argc > 2 ? std::atoi(argv[2]) : 1000;
    setDiagnosticSink([](DiagnosticChannel, const std::string&) {});

    SimulatedBackend backend({{0x3151, 0x1441, "Tavro_Quenra-Rum1", 0, 4096, true, false},
                              {0x3151, 0x2351, "Tavro_Quenra-Sel1", 0, 4096, true, false},
                              {0x3151, 0x3031, "Tavro_Quenra-Wel1", 0, 4096, true, false}});
    SharedWriteHandle target;
    FindDev catalogue(backend, systemClock(), target);
    // Name-checked rows: one row, and so one reader, per device.
    for (DeviceRecord& record : catalogue.DeviceList)
        record.DevCmpStr = 1;
    catalogue.OpenCatalogueDevices();

    std::mutex mutex;
    std::condition_variable posted;
    int received = 0;
    WallClock::time_point postedAt;
    DeviceEventHub hub([](int) { return MouseEventRules{false, {{1, 0}}}; },
                       [&](int, std::uint64_t, std::int64_t) {
                           std::lock_guard lock(mutex);
                           postedAt = WallClock::now();
                           ++received;
                           posted.notify_all();
                       });
    hub.startReaders(catalogue.DeviceList);
    std::printf("readers running: %d\n", hub.runningReaders());

    const double cpuBefore = cpuSeconds();
    const auto wallBefore = WallClock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double cpu = cpuSeconds() - cpuBefore;
    const double wall = std::chrono::duration<double>(WallClock::now() - wallBefore).count();
    std::printf("idle CPU over %.1f s: %.3f %% of one core (goal < 0.5 %%)\n", wall,
                100.0 * cpu / wall);

    std::vector<double> latencies;
    for (int i = 0; i < presses; ++i) {
        const int before = received;
        const auto sent = WallClock::now();
        backend.injectInputReport(0, {6, 0xF1, static_cast<std::uint8_t>(i % 4)});
        std::unique_lock lock(mutex);
        if (!posted.wait_for(lock, std::chrono::seconds(1), [&] { return received > before; })) {
            std::printf("press %d: no message within 1 s\n", i);
            return 1;
        }
        latencies.push_back(std::chrono::duration<double, std::milli>(postedAt - sent).count());
    }
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) { return latencies[std::size_t(q * double(latencies.size() - 1))]; };
    std::printf("report -> 2031 latency over %d presses: median %.3f ms, p99 %.3f ms, max %.3f ms "
                "(goal p99 < 5 ms)\n",
                presses, at(0.5), at(0.99), latencies.back());
    return 0;
}
