// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse key reports: which events they queue, and the messages the consumer posts for them.
#include "device/DeviceEventHub.h"
#include "device/FindDev.h"
#include "device/SimulatedBackend.h"
#include "tests/support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>

namespace varnix {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Posted {
    int message;
    std::uint64_t wParam;
    std::int64_t lParam;
    bool operator==(const Posted&) const = default;
};

// Collects posted messages and lets a test wait for them.
class MessageSink {
public:
    PostMessageFn poster() {
        return [this](int message, std::uint64_t wParam, std::int64_t lParam) {
            std::lock_guard lock(mutex_);
            messages_.push_back({message, wParam, lParam});
            posted_.notify_all();
        };
    }
    std::vector<Posted> waitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        posted_.wait_for(lock, std::chrono::seconds(5), [&] { return messages_.size() >= count; });
        return messages_;
    }
    std::vector<Posted> messages() {
        std::lock_guard lock(mutex_);
        return messages_;
    }

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::vector<Posted> messages_;
};

TEST(InputReportRulesTest, WhichReportsQueueWhichEvents) {
    struct Case {
        const char* what;
        int devType;
        Bytes report;
        bool longHold;
        std::vector<int> kinds;
    };
    const Case cases[] = {
        {"key byte 240 is no key", 1, {6, 240, 0x01}, false, {}},
        {"other report id", 1, {5, 0xF1, 0x01}, false, {}},
        {"not a mouse", 2, {6, 0xF1, 0x01}, false, {}},
        {"too short", 1, {6, 0xF1}, false, {}},
        {"short press, switch off", 1, {6, 0xF1, 0x05}, false, {DpiKeyEvent, ProfileKeyEvent}},
        {"short press, switch on", 1, {6, 0xF1, 0x05}, true, {ProfileKeyEvent}},
        {"long hold only, switch on", 1, {6, 0xF1, 0x80}, true, {DpiKeyEvent}},
        {"long hold only, switch off", 1, {6, 0xF1, 0x80}, false, {}},
        {"long hold with stage, switch on", 1, {6, 0xF2, 0x83}, true, {DpiKeyEvent, ProfileKeyEvent}},
    };
    auto handle = std::shared_ptr<HidHandle>();
    for (const Case& c : cases) {
        std::vector<int> kinds;
        for (const DeviceEvent& event : eventsForInputReport(3, c.devType, c.report, c.longHold, handle)) {
            kinds.push_back(event.devenent);
            EXPECT_EQ(event.devid, 3);
            EXPECT_EQ(event.eventvalue1, c.report[1]);
        }
        EXPECT_EQ(kinds, c.kinds) << c.what;
    }
    const auto dpi = eventsForInputReport(0, 1, Bytes{6, 0xF1, 0x05}, false, handle);
    EXPECT_EQ(dpi[0].eventvalue2, 5);
}

// A handle whose feature read answers a fixed report, for the profile byte.
class FixedFeatureHandle : public HidHandle {
public:
    explicit FixedFeatureHandle(Bytes reply) : reply_(std::move(reply)) {}
    bool sendFeatureReport(std::span<const std::uint8_t>) override { return true; }
    int getFeatureReport(std::span<std::uint8_t> report) override {
        std::copy_n(reply_.begin(), std::min(reply_.size(), report.size()), report.begin());
        return static_cast<int>(report.size());
    }
    int readInputReport(std::span<std::uint8_t>, int) override { return 0; }
    bool getProductString(std::string&) override { return false; }
    bool getAttributes(std::uint16_t&, std::uint16_t&) override { return false; }
    void close() override {}
    bool isOpen() const override { return true; }

private:
    Bytes reply_;
};

TEST(DeviceEventConsumerTest, PostsStageAndProfileWithTheMappedButton) {
    MessageSink sink;
    test::DiagnosticCapture capture;
    DeviceEventHub hub(nullptr, sink.poster());
    hub.queue().setKeyMap(4, {{1, 0}, {3, 7}});
    hub.consume({4, DpiKeyEvent, 0xF3, 0x0D, nullptr});              // key 3 -> button 7, stage 5
    hub.consume({4, DpiKeyEvent, 0xF2, 0x01, nullptr});              // key 2 unmapped: nothing
    hub.consume({5, DpiKeyEvent, 0xF1, 0x01, nullptr});              // device without a key map
    auto profileHandle = std::make_shared<FixedFeatureHandle>(Bytes{7, 0, 0, 0, 0, 0, 0x0C, 0});
    hub.consume({4, ProfileKeyEvent, 0xF1, 0, profileHandle});       // profile 3 via button 0
    hub.consume({4, ProfileKeyEvent, 0xFF, 0, profileHandle});       // 255 is out of range
    EXPECT_EQ(sink.messages(), (std::vector<Posted>{{2031, 7 * 256 + 5, 4}, {2032, 0 * 256 + 3, 4}}));
    EXPECT_THAT(capture.debug(), ::testing::HasSubstr("msg.devid===4\n"));
}

class DeviceEventThreadTest : public ::testing::Test {
protected:
    DeviceEventThreadTest()
        : backend({{0x3151, 0x1441, "Tavro_Quenra-Rum1", 0, 4096, true, false},
                   {0x3151, 0x2351, "Tavro_Quenra-Sel1", 0, 4096, true, false}}),
          dev(backend, systemClock(), target) {
        dev.OpenCatalogueDevices();
    }

    SimulatedBackend backend;
    SharedWriteHandle target;
    FindDev dev;
    MessageSink sink;
    test::DiagnosticCapture quiet;
};

TEST_F(DeviceEventThreadTest, InjectedDpiKeyReachesThePostedMessage) {
    std::atomic<int> lookups{0};
    DeviceEventHub hub(
        [&](int) {
            ++lookups;
            return MouseEventRules{false, {{1, 2}}};
        },
        sink.poster());
    hub.startReaders(dev.DeviceList);
    // Five mouse rows and three keyboard rows (no name check) share two devices: a reader a row.
    EXPECT_EQ(hub.runningReaders(), 8);
    backend.injectInputReport(0, {5, 0xF1, 0x02});   // not a key report: ignored
    backend.injectInputReport(0, {6, 0xF1, 0x80});   // long hold with the switch off: ignored
    backend.injectInputReport(0, {6, 0xF1, 0x02});
    const auto messages = sink.waitFor(1);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0].message, 2031);
    EXPECT_EQ(messages[0].wParam, 2u * 256 + 2);
    EXPECT_THAT(quiet.debug(), ::testing::HasSubstr("***Devrespon****\n msg.devenent >>> 1\n"));
    EXPECT_GE(lookups.load(), 1);
}

TEST_F(DeviceEventThreadTest, ReadersEndWithTheirDevice) {
    DeviceEventHub hub(nullptr, sink.poster());
    hub.startReaders(dev.DeviceList);
    const int before = hub.runningReaders();
    backend.unplug(1);
    dev.DeviceList[5].closeConnection();
    hub.startReaders(dev.DeviceList);
    EXPECT_EQ(hub.runningReaders(), before - 1);
    // Starting again changes nothing: one reader per device.
    hub.startReaders(dev.DeviceList);
    EXPECT_EQ(hub.runningReaders(), before - 1);
    hub.stopReaders();
    EXPECT_EQ(hub.runningReaders(), 0);
}

} // namespace
} // namespace varnix
