// SPDX-License-Identifier: GPL-3.0-or-later
// Frames and pauses of the feature-report operations, checked byte by byte on a virtual device.
#include "device/FindDev.h"
#include "device/SimulatedBackend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;

struct Sent {
    std::uint64_t time;
    Bytes bytes;
    bool operator==(const Sent&) const = default;
};

void PrintTo(const Sent& sent, std::ostream* os) {
    *os << "t=" << sent.time << " [";
    for (auto b : sent.bytes)
        *os << std::hex << int(b) << ' ';
    *os << "]";
}

class TransportTest : public ::testing::Test {
protected:
    TransportTest()
        : backend({{0x3151, 0x2351, "Tavro_Quenra-Sel1", 0x0120, 4096, true, false}}, clock),
          dev(backend, clock, target) {}

    void openKeyboard() {
        DeviceRecord& keyboard = dev.DeviceList[5];
        ASSERT_TRUE(dev.OpenDevice(keyboard));
        backend.clearFrames();
        clock.clearPauses();
    }

    std::vector<Sent> sent() const {
        std::vector<Sent> out;
        for (const SimulatedFrame& f : backend.sentFrames(0))
            out.push_back({f.timeMs, f.bytes});
        return out;
    }

    ManualClock clock;
    SimulatedBackend backend;
    SharedWriteHandle target;
    FindDev dev;
};

TEST_F(TransportTest, WriteBlockStagesEachByteThenCommitsAndEnds) {
    openKeyboard();
    const Bytes data{0xAA, 0xBB, 0xCC};
    dev.WriteBlock(0x0119, data);
    EXPECT_THAT(sent(), ElementsAre(Sent{0, {7, 0x18, 3, 0, 0x19, 0x01, 0xAA, 2}},
                                    Sent{0, {7, 0x18, 3, 1, 0x19, 0x01, 0xBB, 2}},
                                    Sent{0, {7, 0x18, 3, 2, 0x19, 0x01, 0xCC, 2}},
                                    Sent{2, {7, 0x18, 9, 0, 0x19, 0x01, 0, 2}},
                                    Sent{10, {7, 0x18, 0, 0, 0x19, 0x01, 0, 0}}));
    EXPECT_THAT(clock.pauses(), ElementsAre(2, 8));
    const Bytes memory = backend.memory(0);
    EXPECT_THAT(Bytes(memory.begin() + 0x119, memory.begin() + 0x11C), ElementsAre(0xAA, 0xBB, 0xCC));
}

TEST_F(TransportTest, WriteBlockOfLengthZeroStillCommitsAndEnds) {
    openKeyboard();
    dev.WriteBlock(0x40, {});
    EXPECT_THAT(sent(), ElementsAre(Sent{2, {7, 0x18, 9, 0, 0x40, 0, 0, 0xFF}},
                                    Sent{10, {7, 0x18, 0, 0, 0x40, 0, 0, 0}}));
}

TEST_F(TransportTest, ActivateSendsActivateThenEndAfterFiveMilliseconds) {
    openKeyboard();
    dev.ActivateSettings();
    EXPECT_THAT(sent(), ElementsAre(Sent{0, {7, 0x18, 0x10, 0, 0, 0, 0, 0}},
                                    Sent{5, {7, 0x18, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(backend.activationCount(0), 1);
}

TEST_F(TransportTest, ReadBlockFetchesTheEightBytesAtAddress0x18) {
    openKeyboard();
    backend.setMemory(0, 0x18, {1, 2, 3, 4, 5, 6, 7, 8});
    std::array<std::uint8_t, 8> out{};
    dev.ReadBlock(out);
    EXPECT_THAT(out, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8));

    const auto frames = sent();
    ASSERT_EQ(frames.size(), 8u + 1u + 8u + 1u);
    for (std::uint8_t i = 0; i < 8; ++i) {
        EXPECT_EQ(frames[i], (Sent{2u * i, {7, 0x18, 3, i, 0x18, 0, 0, 7}}));
        EXPECT_EQ(frames[9 + i], (Sent{18u + 2u * i, {7, 0x18, 5, i, 0x18, 0, 0, 7}}));
    }
    EXPECT_EQ(frames[8], (Sent{18, {7, 0x18, 0, 0, 0x18, 0, 0, 0}}));
    EXPECT_EQ(frames[17], (Sent{36, {7, 0x18, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(clock.pauses(), std::vector<int>(18, 2));
    // Staging during a read must not change the memory it reads.
    EXPECT_EQ(backend.memory(0)[0x18], 1);
}

TEST_F(TransportTest, OpeningAKeyboardSelectsItAndReadsItsBaseAddress) {
    DeviceRecord& keyboard = dev.DeviceList[5];
    ASSERT_TRUE(dev.OpenDevice(keyboard));
    EXPECT_EQ(keyboard.Connected, 1);
    EXPECT_EQ(keyboard.BaseAddress, 0x0120);
    EXPECT_EQ(target.get(), keyboard.WriteHandle);
    EXPECT_EQ(keyboard.DevicePath, "\\\\?\\HID#VID_3151&PID_2351&MI_01#SIM0");
    EXPECT_EQ(keyboard.Caps.usagePage, 0xFF00);
}

TEST_F(TransportTest, QueryProductInfoReadsTheSelectedDevice) {
    std::string name = "unchanged";
    int pid = -1;
    int vid = -1;
    EXPECT_FALSE(dev.QueryProductInfo(name, pid, vid)); // nothing selected yet
    EXPECT_EQ(name, "unchanged");
    openKeyboard();
    ASSERT_TRUE(dev.QueryProductInfo(name, pid, vid));
    EXPECT_EQ(name, "Tavro_Quenra-Sel1");
    EXPECT_EQ(pid, 0x2351);
    EXPECT_EQ(vid, 0x3151);
}

TEST_F(TransportTest, FramesWithoutATargetAreHarmlessNoOps) {
    dev.WriteBlock(0x10, Bytes{1});
    dev.ActivateSettings();
    EXPECT_EQ(dev.ReadBaseAddress(), 0);
    EXPECT_TRUE(backend.frames().empty());
}

TEST_F(TransportTest, WritingAfterTheDeviceWasClosedTouchesNothing) {
    openKeyboard();
    DeviceRecord& keyboard = dev.DeviceList[5];
    keyboard.closeConnection();
    EXPECT_EQ(keyboard.BaseAddress, 255);
    EXPECT_TRUE(keyboard.DevicePath.empty());
    // The shared target still aliases the closed handle: sending must be inert.
    dev.WriteBlock(0x10, Bytes{1, 2});
    dev.ActivateSettings();
    EXPECT_TRUE(backend.frames().empty());
    EXPECT_EQ(backend.memory(0)[0x10], 0);
}

TEST_F(TransportTest, RefusedFramesAreLostSilentlyAndTheWriteGoesOn) {
    openKeyboard();
    int seen = 0;
    backend.setFaultHook(0, [&](const Bytes&) { return ++seen == 2 ? FrameFate::Refuse : FrameFate::Accept; });
    dev.WriteBlock(0x20, Bytes{1, 2, 3});
    EXPECT_EQ(sent().size(), 5u);
    const Bytes memory = backend.memory(0);
    EXPECT_THAT(Bytes(memory.begin() + 0x20, memory.begin() + 0x23), ElementsAre(1, 0, 3));
}

} // namespace
} // namespace varnix
