// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual device itself: scenario files, plugging, input reports and injected faults.
#include "device/FindDev.h"
#include "device/SimulatedBackend.h"
#include "tests/support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <thread>

namespace varnix {
namespace {

using ::testing::HasSubstr;

TEST(ScenarioTest, ReadsDevicesWithDefaults) {
    const auto setups = parseScenario(R"({"devices": [
        {"vid": 12625, "pid": 5185, "product": "M"},
        {"vid": 1, "pid": 2, "base_address": 256, "memory_size": 1024, "plugged": false,
         "write_first": true}]})");
    ASSERT_EQ(setups.size(), 2u);
    EXPECT_EQ(setups[0].vid, 0x3151);
    EXPECT_EQ(setups[0].baseAddress, 0);
    EXPECT_EQ(setups[0].memorySize, 16384);
    EXPECT_TRUE(setups[0].plugged);
    EXPECT_FALSE(setups[0].writeFirst);
    EXPECT_EQ(setups[1].baseAddress, 256);
    EXPECT_FALSE(setups[1].plugged);
    EXPECT_TRUE(setups[1].writeFirst);
}

TEST(ScenarioTest, RejectsBadScenariosWithAReadableReason) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"devices": [)", "not valid JSON"},
        {R"({"devices": [], "extra": 1})", "unknown key \"extra\""},
        {R"({"devices": [{"vid": 1, "pid": 2, "colour": "red"}]})", "unknown key \"colour\""},
        {R"({"devices": [{"vid": "1", "pid": 2}]})", "\"vid\" must be an integer"},
        {R"({"devices": [{"vid": 70000, "pid": 2}]})", "between 0 and 65535"},
        {R"({"devices": [{"pid": 2}]})", "needs \"vid\" and \"pid\""},
        {R"({"devices": [{"vid": 1, "pid": 2, "plugged": 1}]})", "must be true or false"},
        {R"({"devices": [{"vid": 1, "pid": 2, "memory_size": 0}]})", "memory_size"},
        {R"({"devices": 3})", "\"devices\" array"},
        {R"([])", "JSON object"},
    };
    for (const auto& [json, reason] : cases) {
        try {
            parseScenario(json);
            ADD_FAILURE() << "accepted: " << json;
        } catch (const ScenarioError& error) {
            EXPECT_THAT(error.what(), HasSubstr(reason)) << json;
        }
    }
}

TEST(ScenarioTest, ShippedDemoScenarioMatchesTheShippedCatalogue) {
    const auto setups = loadScenarioFile(test::sourceResDir() / "sim" / "demo.json");
    ASSERT_EQ(setups.size(), 3u);
    ManualClock clock;
    SimulatedBackend backend(setups, clock);
    SharedWriteHandle target;
    FindDev dev(backend, clock, target);
    test::TempDir res;
    std::filesystem::create_directories(res.path() / "Home" / "Icons");
    std::filesystem::copy_file(test::sourceResDir() / "Home" / "Icons" / "Ndevice.zip",
                               res.path() / "Home" / "Icons" / "Ndevice.zip");
    test::DiagnosticCapture quiet;
    dev.LoadCatalogue(res.path());
    dev.OpenCatalogueDevices();
    std::set<int> types;
    for (const DeviceRecord& record : dev.DeviceList)
        if (record.Connected)
            types.insert(record.DevType);
    EXPECT_EQ(types, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(quiet.debug(), "Start Unzip...\n"); // and no problem with an entry
}

class SimulatedDeviceTest : public ::testing::Test {
protected:
    SimulatedDeviceTest() : backend({{0x3151, 0x1441, "M", 0, 2048, true, false}}, clock) {}
    ManualClock clock;
    SimulatedBackend backend;
};

TEST_F(SimulatedDeviceTest, UnplugKillsOldHandlesAndReplugNeedsANewOpen) {
    std::vector<std::pair<std::string, bool>> events;
    backend.setPlugObserver([&](int, const std::string& path, bool arrived) {
        events.emplace_back(path, arrived);
    });
    HidHandlePtr write = backend.open(backend.writePath(0), HidAccess::Write);
    ASSERT_TRUE(write);
    const std::vector<std::uint8_t> frame{7, 0x18, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(write->sendFeatureReport(frame));

    backend.unplug(0);
    EXPECT_TRUE(backend.enumerate().empty());
    EXPECT_FALSE(write->sendFeatureReport(frame));
    EXPECT_EQ(backend.open(backend.writePath(0), HidAccess::Write), nullptr);

    backend.plug(0);
    EXPECT_EQ(backend.enumerate().size(), 2u);
    EXPECT_FALSE(write->sendFeatureReport(frame)); // handles do not survive a replug
    EXPECT_TRUE(backend.open(backend.writePath(0), HidAccess::Write)->sendFeatureReport(frame));
    ASSERT_EQ(events.size(), 4u);
    EXPECT_FALSE(events[0].second);
    EXPECT_TRUE(events[3].second);
    EXPECT_THAT(events[0].first, HasSubstr("vid_3151&pid_1441"));
}

TEST_F(SimulatedDeviceTest, InputReportsReachTheReadCollection) {
    HidHandlePtr read = backend.open(backend.readPath(0), HidAccess::Read);
    std::array<std::uint8_t, 8> report{};
    EXPECT_EQ(read->readInputReport(report, 1), 0); // time-out
    std::thread producer([&] { backend.injectInputReport(0, {6, 0xF3, 0x82}); });
    EXPECT_EQ(read->readInputReport(report, 2000), 3);
    producer.join();
    EXPECT_EQ(report[1], 0xF3);
    backend.unplug(0);
    EXPECT_EQ(read->readInputReport(report, 2000), -1); // wakes at once on removal
}

TEST_F(SimulatedDeviceTest, DeviceVanishingMidWriteFailsTheRestOfTheFrames) {
    SharedWriteHandle target;
    FindDev dev(backend, clock, target);
    int frames = 0;
    backend.setFaultHook(0, [&](const std::vector<std::uint8_t>&) {
        return ++frames == 3 ? FrameFate::Vanish : FrameFate::Accept;
    });
    target.set(backend.open(backend.writePath(0), HidAccess::Write));
    dev.WriteBlock(0x10, std::vector<std::uint8_t>{1, 2, 3, 4});
    EXPECT_FALSE(backend.isPlugged(0));
    EXPECT_EQ(backend.sentFrames(0).size(), 2u);
    EXPECT_EQ(backend.memory(0)[0x10], 0); // never committed
}

TEST_F(SimulatedDeviceTest, DroppedFramesAreAcknowledgedButIgnored) {
    HidHandlePtr write = backend.open(backend.writePath(0), HidAccess::Write);
    backend.setFaultHook(0, [](const std::vector<std::uint8_t>&) { return FrameFate::Drop; });
    EXPECT_TRUE(write->sendFeatureReport(std::vector<std::uint8_t>{7, 0x18, 0x10, 0, 0, 0, 0, 0}));
    EXPECT_EQ(backend.activationCount(0), 0);
}

} // namespace
} // namespace varnix
