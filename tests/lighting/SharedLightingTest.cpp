// SPDX-License-Identifier: GPL-3.0-or-later
// Shared lighting: mode table, repeat intervals, file, the colour-index rule and the write into
// every connected device.
#include "lighting/SharedLighting.h"

#include "device/SimulatedBackend.h"
#include "keyboard/KeyboardImageBuilder.h"
#include "keyboard/KeyboardImageLayout.h"
#include "kinds/SharedLightingRunner.h"
#include "kinds/SharedLightingWriter.h"
#include "lighting/LedMode.h"
#include "lighting/PadImageBuilder.h"
#include "mouse/MouseConfigFile.h"
#include "mouse/MouseImageBuilder.h"
#include "tests/support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

namespace fs = std::filesystem;

SharedLighting withColours(int mode, int enabled, int speed = 3, int ledCount = 12) {
    SharedLighting lighting;
    lighting.mode = mode;
    lighting.speed = speed;
    lighting.ledCount = ledCount;
    for (int i = 0; i < enabled; ++i)
        lighting.slots[static_cast<std::size_t>(i)] = {1, 0xFFFF0000};
    return lighting;
}

TEST(SharedLightingTest, ModePositionsMapToDeviceModeCodes) {
    const std::vector<std::pair<int, std::optional<int>>> cases{
        {0, LedModeBreathing}, {1, LedModeConstant}, {2, LedModeFlow},      {3, LedModeSingle},
        {4, LedModeCometTail}, {5, LedModeNeon},     {6, LedModeAmbilight}, {7, LedModeMute},
        {8, std::nullopt},     {-1, std::nullopt}};
    for (const auto& [position, code] : cases)
        EXPECT_EQ(SharedLighting::deviceModeCode(position), code) << position;
}

TEST(SharedLightingTest, RepeatIntervals) {
    struct Case {
        int mode, enabled, speed, ledCount;
        std::optional<std::int64_t> interval;
    };
    const std::vector<Case> cases{
        {0, 1, 3, 12, std::nullopt},     // one colour: written once
        {0, 3, 3, 12, 4 * 3 * 4232},     // Breathing
        {1, 2, 3, 12, 4 * 2 * 4232},     // Constant
        {2, 3, 3, 12, 4 * 12 * 3 * 212}, // Flow
        {3, 2, 5, 20, 2 * 20 * 2 * 212}, // Single
        {4, 7, 1, 14, 6 * 14 * 7 * 212}, // CometTail, fewer than 15 LEDs
        {4, 7, 1, 15, 6 * 15 * 7 * 53},  // CometTail, 15 LEDs or more
        {5, 1, 3, 12, 4 * 6 * 4232},     // Neon counts six colours even with one
        {5, 0, 3, 12, 4 * 6 * 4232},     {6, 2, 4, 12, 3 * 2 * 4232}, // Ambilight
        {7, 2, 3, 12, 4 * 2 * 4232},                                  // Mute
        {0, 3, 7, 12, std::nullopt}, // speed 7 would repeat without a pause
        {2, 3, 3, 0, std::nullopt},  // no LEDs: likewise
    };
    for (const Case& c : cases)
        EXPECT_EQ(withColours(c.mode, c.enabled, c.speed, c.ledCount).repeatIntervalMs(),
                  c.interval)
            << "mode " << c.mode << " colours " << c.enabled;
}

// Only Constant carries the selected colour; every other mode sends colour index 0.
TEST(SharedLightingTest, ConstantColourIndexRule) {
    for (int position = 0; position < SharedModeCount; ++position) {
        SharedLighting lighting = withColours(position, 7);
        lighting.selectedSlot = 3;
        const bool constant = position == 1;
        EXPECT_EQ(lighting.colourIndex(), constant ? 4 : 0) << position;
        const LedEffect effect = *lighting.deviceEffect();
        EXPECT_EQ(KeyboardImageBuilder::slotNumber(effect, 0), constant ? 4 : 0) << position;
        EXPECT_EQ(SharedLightingWriter::padValues(lighting)->colourIndex, constant ? 4 : 0);
    }
}

TEST(SharedLightingTest, PadValuesUseDeviceSpeedAndTheMappedMode) {
    SharedLighting lighting = withColours(2, 2, 4);
    lighting.brightness = 6;
    lighting.direction = 1;
    const PadDeviceValues values = *SharedLightingWriter::padValues(lighting);
    EXPECT_EQ(values.mode, LedModeFlow);
    EXPECT_EQ(values.speed, 3);
    const ParameterImage image = PadImageBuilder::build(values);
    EXPECT_EQ(*image.at(304), 1 << 6 | 1 << 3 | 3);
    EXPECT_EQ(*image.at(305), LedModeFlow);
    EXPECT_EQ(*image.at(306), 0b11);
    EXPECT_FALSE(SharedLightingWriter::padValues(withColours(9, 1)));
}

TEST(SharedLightingTest, FileRoundTripAndDefaultLedCount) {
    test::TempDir dir;
    SharedLighting lighting = withColours(6, 4, 2, 30);
    lighting.selectedSlot = -1;
    lighting.symmetric = true;
    ASSERT_TRUE(test::isOk(SharedLighting::save(dir / "PublicLedconfig.json", lighting)));
    SharedLighting read;
    ASSERT_TRUE(test::isOk(SharedLighting::load(dir / "PublicLedconfig.json", read)));
    EXPECT_EQ(read, lighting);
    nlohmann::json document = SharedLighting::toJson(lighting);
    document["PublicLedconfig"]["PublicLed"].erase("led_num");
    EXPECT_EQ(SharedLighting::fromJson(document).ledCount, 12);
    document["PublicLedconfig"]["PublicLed"]["issysmetry"] = "yes";
    test::writeTextFile(dir / "bad.json", document.dump());
    const Outcome bad = SharedLighting::load(dir / "bad.json", read);
    EXPECT_EQ(bad.status, Status::Invalid);
    EXPECT_THAT(bad.detail, ::testing::HasSubstr("type must be boolean, but is string"));
    EXPECT_EQ(read, lighting);
    EXPECT_EQ(SharedLighting::load(dir / "absent.json", read).status, Status::Missing);
    EXPECT_EQ(read, lighting);
}

TEST(SharedLightingTest, ShippedFilesRead) {
    for (const char* name : {sharedfile::ConfigFile, sharedfile::ResetFile}) {
        SharedLighting lighting;
        EXPECT_TRUE(test::isOk(SharedLighting::load(test::sourceResDir() / name, lighting)))
            << name;
    }
}

// A mouse, a pad and a keyboard on the bus, with the shipped mouse and keyboard models.
class SharedWriteTest : public ::testing::Test {
protected:
    SharedWriteTest()
        : backend({{0x3151, 0x1441, "Tavro_Quenra-Rum1", 0, 16384, true, false},
                   {0x3151, 0x3031, "Tavro_Quenra-Wel1", 0, 4096, true, false},
                   {0x3151, 0x2351, "Tavro_Quenra-Sel1", 0, 4096, true, false}},
                  clock),
          dev(backend, clock, target) {
        for (std::size_t row : {MouseRow, PadRow, KeyboardRow})
            EXPECT_TRUE(dev.OpenDevice(dev.DeviceList[row]));
        const fs::path mouse = dir.path() / "MouseKorv/MouseA/Config";
        fs::create_directories(mouse);
        fs::copy_file(test::sourceResDir() / "MouseKorv/MouseA/Config/DeviceFeature.ini",
                      mouse / "DeviceFeature.ini");
        fs::copy_file(test::sourceResDir() / "MouseKorv/MouseA/Config/ResetMouseConfig.json",
                      mouse / "MouseConfig.json");
        fs::create_directories(dir.path() / "KeyboardKorv");
        fs::copy(test::sourceResDir() / "KeyboardKorv/KeyboardA",
                 dir.path() / "KeyboardKorv/KeyboardA", fs::copy_options::recursive);
    }
    static constexpr std::size_t MouseRow = 0;
    static constexpr std::size_t KeyboardRow = 5;
    static constexpr std::size_t PadRow = 9;

    ManualClock clock;
    SimulatedBackend backend;
    SharedWriteHandle target;
    FindDev dev;
    test::TempDir dir;
};

TEST_F(SharedWriteTest, EveryConnectedDeviceGetsTheEffect) {
    SharedLighting lighting = withColours(1, 3, 4);
    lighting.selectedSlot = 2;
    lighting.brightness = 5;
    SharedLightingWriter writer(dev, dir.path());
    std::vector<std::size_t> order;
    writer.setObservers([&](std::size_t index, const DeviceRecord&) { order.push_back(index); },
                        [](std::size_t, const DeviceRecord&, const ApplyResult& result) {
                            EXPECT_TRUE(result.completed()) << result.detail;
                        });
    const HidHandlePtr selected = dev.DeviceList[PadRow].WriteHandle;
    target.set(selected);
    EXPECT_TRUE(writer.writeToDevices(lighting));
    EXPECT_EQ(order, (std::vector<std::size_t>{MouseRow, KeyboardRow, PadRow}));
    EXPECT_EQ(target.get(), selected); // the selected device stays the write target

    // The keyboard's own image with the effect: Constant with the third slot.
    const std::vector<std::uint8_t> keyboard = backend.memory(2);
    const std::uint8_t modeSlot = keyboard[kbimage::ModeSlotByte];
    EXPECT_EQ(modeSlot & 0x0F, LedModeConstant);
    EXPECT_EQ((modeSlot >> kbimage::SlotNumberShift) & 7, 3);
    EXPECT_NE(keyboard[kbimage::MatrixPointer], 0); // the whole image, not only the lighting

    const std::vector<std::uint8_t> pad = backend.memory(1);
    const ParameterImage padImage =
        PadImageBuilder::build(*SharedLightingWriter::padValues(lighting));
    for (const auto& [address, byte] : padImage)
        EXPECT_EQ(pad[static_cast<std::size_t>(address)], byte) << address;
    EXPECT_EQ(pad[305], 0x30 | LedModeConstant);

    const std::vector<std::uint8_t> mouse = backend.memory(0);
    const ParameterImage mouseImage = *SharedLightingWriter::mouseLightingImage(
        dir.path(), dir.path() / "MouseKorv/MouseA", lighting);
    EXPECT_EQ(mouseImage.size(), 22u);
    for (const auto& [address, byte] : mouseImage)
        EXPECT_EQ(mouse[static_cast<std::size_t>(address)], byte) << address;
    EXPECT_EQ(mouse[28], mouseLedModeByte(LedModeConstant, 3));
    EXPECT_EQ(mouse[29], 0b111);
    EXPECT_EQ(mouse[1], 0); // nothing but lighting
}

TEST_F(SharedWriteTest, UnconnectedDevicesAreSkippedAndFailuresReported) {
    dev.DeviceList[PadRow].Connected = 0;
    fs::remove(dir.path() / "MouseKorv/MouseA/Config/MouseConfig.json");
    SharedLightingWriter writer(dev, dir.path());
    std::vector<std::size_t> order;
    std::vector<Status> results;
    writer.setObservers([&](std::size_t index, const DeviceRecord&) { order.push_back(index); },
                        [&](std::size_t, const DeviceRecord&, const ApplyResult& result) {
                            results.push_back(result.status);
                        });
    test::DiagnosticCapture capture;
    EXPECT_FALSE(writer.writeToDevices(withColours(0, 2)));
    EXPECT_EQ(order, (std::vector<std::size_t>{MouseRow, KeyboardRow}));
    EXPECT_EQ(results, (std::vector<Status>{Status::Failed, Status::Done}));
    EXPECT_THAT(capture.debug(), ::testing::HasSubstr("no saved configuration"));
    EXPECT_TRUE(backend.memory(1)[305] == 0);
}

} // namespace
} // namespace varnix

namespace varnix {
namespace {

// The write on a worker: a device pulled out on the way is missed and the others still get the
// effect; a second write is refused while one is on its way.
TEST_F(SharedWriteTest, TheWorkerSkipsAPulledOutDeviceAndRunsOneWriteAtATime) {
    constexpr int SimulatedKeyboard = 2;
    int keyboardFrames = 0;
    backend.setFaultHook(SimulatedKeyboard, [&](const std::vector<std::uint8_t>&) {
        return ++keyboardFrames > 10 ? FrameFate::Vanish : FrameFate::Accept;
    });
    SharedLightingRunner runner(backend, dir.path(), clock);
    std::mutex mutex;
    std::vector<SharedLightingRunner::Report> reports;
    auto finished = [&](const SharedLightingRunner::Report& report) {
        std::lock_guard lock(mutex);
        reports.push_back(report);
    };
    ASSERT_TRUE(runner.start(dev.DeviceList, withColours(2, 3), finished));
    runner.wait();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].written, (std::vector<std::size_t>{MouseRow, PadRow}));
    EXPECT_EQ(reports[0].missed, (std::vector<std::size_t>{KeyboardRow}));
    EXPECT_FALSE(backend.isPlugged(SimulatedKeyboard));
    EXPECT_EQ(backend.memory(1)[305] & 0x0F, LedModeFlow);
    EXPECT_EQ(backend.activationCount(1), 1);

    // The mouse holds its first frame until released: the write is on its way meanwhile.
    std::mutex gate;
    std::condition_variable opened;
    bool held = false;
    bool release = false;
    backend.setFaultHook(0, [&](const std::vector<std::uint8_t>&) {
        std::unique_lock lock(gate);
        held = true;
        opened.notify_all();
        opened.wait(lock, [&] { return release; });
        return FrameFate::Accept;
    });
    ASSERT_TRUE(runner.start(dev.DeviceList, withColours(0, 2), finished));
    {
        std::unique_lock lock(gate);
        opened.wait(lock, [&] { return held; });
    }
    EXPECT_TRUE(runner.running());
    EXPECT_FALSE(runner.start(dev.DeviceList, withColours(0, 2), finished));
    {
        std::lock_guard lock(gate);
        release = true;
    }
    opened.notify_all();
    runner.wait();
    EXPECT_FALSE(runner.running());
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_EQ(backend.memory(1)[305] & 0x0F, LedModeBreathing);
    EXPECT_TRUE(runner.start(dev.DeviceList, withColours(0, 2), finished));
    runner.wait(); // the worker reports into this test's locals
}

} // namespace
} // namespace varnix
