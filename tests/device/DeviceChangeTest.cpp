// SPDX-License-Identifier: GPL-3.0-or-later
// Arrival and removal of devices on the catalogue's records.
#include "device/DeviceChange.h"
#include "device/SimulatedBackend.h"
#include "device/SimulatedHotplugMonitor.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

class DeviceChangeTest : public ::testing::Test {
protected:
    DeviceChangeTest()
        : backend({{0x3151, 0x2351, "Tavro_Quenra-Sel1", 0x10, 4096, false, false},
                   {0x3151, 0x3001, "Null row device", 0, 4096, true, false}},
                  clock),
          dev(backend, clock, target) {}

    ManualClock clock;
    SimulatedBackend backend;
    SharedWriteHandle target;
    FindDev dev;
};

TEST_F(DeviceChangeTest, NameMatchingUsesTheSeventeenCharactersAtIndexEight) {
    const DeviceRecord& keyboard = dev.DeviceList[5];
    EXPECT_TRUE(interfaceNameMatches(keyboard, "\\\\?\\hid#vid_3151&pid_2351&mi_01#x"));
    EXPECT_TRUE(interfaceNameMatches(keyboard, deviceInterfaceName(0x3151, 0x2351, "/dev/hidraw2")));
    EXPECT_FALSE(interfaceNameMatches(keyboard, "\\\\?\\hid#vid_3151&pid_2352&mi_01#x"));
    EXPECT_FALSE(interfaceNameMatches(keyboard, "\\\\?\\hid#"));
}

TEST_F(DeviceChangeTest, ArrivalOpensTheFirstMatchingClosedRecordAndRemovalClosesIt) {
    std::vector<std::pair<DeviceChangeEvent, std::string>> events;
    SimulatedHotplugMonitor monitor(backend);
    monitor.start([&](DeviceChangeEvent event, const std::string& name) { events.emplace_back(event, name); });
    backend.plug(0);
    ASSERT_FALSE(events.empty());
    ASSERT_TRUE(HandleDeviceChange(dev, events.front().first, events.front().second));
    EXPECT_EQ(dev.DeviceList[5].Connected, 1);
    EXPECT_EQ(dev.DeviceList[5].BaseAddress, 0x10);
    EXPECT_EQ(dev.DeviceList[6].Connected, 0);
    // The second collection's arrival opens the next row of the same model (no name check).
    ASSERT_TRUE(HandleDeviceChange(dev, events.back().first, events.back().second));
    EXPECT_EQ(dev.DeviceList[6].Connected, 1);

    events.clear();
    backend.unplug(0);
    ASSERT_FALSE(events.empty());
    EXPECT_TRUE(HandleDeviceChange(dev, DeviceChangeEvent::Removal, events.front().second));
    EXPECT_TRUE(HandleDeviceChange(dev, DeviceChangeEvent::Removal, events.front().second));
    EXPECT_FALSE(HandleDeviceChange(dev, DeviceChangeEvent::Removal, events.front().second));
    EXPECT_EQ(dev.DeviceList[5].Connected, 0);
    EXPECT_EQ(dev.DeviceList[5].BaseAddress, 255);
    EXPECT_TRUE(dev.DeviceList[5].DevicePath.empty());
    EXPECT_EQ(target.get(), nullptr);
    monitor.stop();
}

TEST_F(DeviceChangeTest, RemovalKeepsRecordsWhoseDeviceIsStillThere) {
    backend.plug(0);
    dev.OpenCatalogueDevices();
    ASSERT_EQ(dev.DeviceList[5].Connected, 1);
    const HidHandlePtr handle = dev.DeviceList[5].WriteHandle;
    EXPECT_FALSE(HandleDeviceChange(dev, DeviceChangeEvent::Removal, backend.writePath(0)));
    EXPECT_EQ(dev.DeviceList[5].Connected, 1);
    EXPECT_EQ(dev.DeviceList[5].WriteHandle, handle);
    EXPECT_TRUE(handle->isOpen());
}

TEST_F(DeviceChangeTest, NullRowsAndShortNamesAreIgnored) {
    // Device 1 has the VID/PID of a "Null" row: arrival opens nothing.
    EXPECT_FALSE(HandleDeviceChange(dev, DeviceChangeEvent::Arrival, backend.writePath(1)));
    EXPECT_EQ(dev.DeviceList[11].Connected, 0);
    EXPECT_FALSE(HandleDeviceChange(dev, DeviceChangeEvent::Arrival, "abc"));
}

} // namespace
} // namespace varnix
