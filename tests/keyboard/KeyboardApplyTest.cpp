// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyboardTestModel.h"
#include "device/SimulatedBackend.h"
#include "keyboard/KeyboardApply.h"
#include "keyboard/KeyboardImageBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

constexpr std::size_t KeyboardRow = 5; // the built-in table's first keyboard

MacroGroup oneMacroGroup() {
    MacroRecord macro;
    macro.guid = "M";
    macro.data.macRpt = 1;
    macro.data.num = 2;
    macro.data.macVal[0] = 4;
    macro.data.macSta[0] = MacroStatusPress;
    macro.data.macDly[0] = 1200;
    macro.data.macVal[1] = 4;
    macro.data.macSta[1] = MacroStatusRelease;
    MacroGroup group;
    group.guid = "G";
    group.macros = {macro};
    return group;
}

class KeyboardApplyTest : public testing::Test {
protected:
    void start(int baseAddress) {
        backend = std::make_unique<SimulatedBackend>(
            std::vector<VirtualDeviceSetup>{
                {0x3151, 0x2351, "Tavro_Quenra-Sel1", baseAddress, 16384, true, false}},
            clock);
        dev = std::make_unique<FindDev>(*backend, clock, target);
        DeviceRecord& record = dev->DeviceList[KeyboardRow];
        ASSERT_TRUE(dev->OpenDevice(record));
        target.set(record.WriteHandle);
        backend->clearFrames();
    }

    KeyboardConfig model() {
        test::TempDir dir;
        KeyboardConfig config;
        config.LoadKeyboardConfig(test::copyShippedKeyboard(dir));
        KeyBinding& f1 = config.keys[0].at("btn_KBKey_F1");
        f1.code = 165;
        f1.grpGuid = "G";
        f1.macGuid = "M";
        config.lighting.mode = 6;
        return config;
    }

    ApplyResult apply(ApplyWriter& writer) {
        return writer.write([this](int percent) { progress.push_back(percent); });
    }

    ManualClock clock;
    SharedWriteHandle target;
    std::unique_ptr<SimulatedBackend> backend;
    std::unique_ptr<FindDev> dev;
    KeyboardDeviceState state;
    std::vector<int> progress;
};

TEST_F(KeyboardApplyTest, DeviceMemoryEqualsTheImageAfterAnApply) {
    for (const int base : {0, 0x200}) {
        SCOPED_TRACE(base);
        start(base);
        state = {};
        const auto writer = makeKeyboardWriter(*dev, model(), {oneMacroGroup()}, state);
        const ApplyResult result = apply(*writer);
        ASSERT_TRUE(result.completed()) << result.detail;
        ASSERT_TRUE(writer->lastImage());
        const ParameterImage& image = *writer->lastImage();
        EXPECT_EQ(image.at(base), 0x70); // built at the device's own base address
        EXPECT_EQ(image.at(base + 28), (base + 72) & 0xFF);
        const std::vector<std::uint8_t> memory = backend->memory(0);
        for (const auto& [address, byte] : image)
            ASSERT_EQ(memory.at(static_cast<std::size_t>(address)), byte) << address;
        EXPECT_EQ(result.bytesWritten, static_cast<int>(image.size()));
        EXPECT_EQ(backend->activationCount(0), 1);
        EXPECT_EQ(progress.back(), 100);
        // Setting A takes the lighting mode for the next apply.
        EXPECT_THAT(state.settings, testing::ElementsAre(6, 0, 0));
    }
}

TEST_F(KeyboardApplyTest, NextApplyCarriesTheSettings) {
    start(0);
    const auto first = makeKeyboardWriter(*dev, model(), {oneMacroGroup()}, state);
    ASSERT_TRUE(apply(*first).completed());
    EXPECT_EQ(backend->memory(0)[2] >> 4, 1);
    const auto second = makeKeyboardWriter(*dev, model(), {oneMacroGroup()}, state);
    ASSERT_TRUE(apply(*second).completed());
    EXPECT_EQ(backend->memory(0)[2] >> 4, 6);
}

TEST_F(KeyboardApplyTest, CapacityBoundary) {
    start(0);
    KeyboardConfig config = model();
    KeyboardDeviceState probe;
    const int end =
        KeyboardImageBuilder(config, {oneMacroGroup()}, probe).build(0)->image.endAddress();
    for (const int capacity : {end + 72, end + 71}) {
        SCOPED_TRACE(capacity);
        backend->clearFrames();
        config.feature.capacity = capacity;
        const auto writer = makeKeyboardWriter(*dev, config, {oneMacroGroup()}, state);
        const ApplyResult result = apply(*writer);
        const bool fits = capacity == end + 72;
        EXPECT_EQ(result.completed(), fits) << result.detail;
        if (!fits) {
            EXPECT_EQ(result.status, Status::TooLarge);
            EXPECT_EQ(result.bytesWritten, 0);
        }
    }
}

TEST_F(KeyboardApplyTest, BodyPastTheAddressLimitEndsWithTheCapacityMessage) {
    start(0x3EA0); // the macro body would start at 0x4000
    KeyboardConfig config = model();
    config.feature.capacity = 0x3FFF;
    const auto writer = makeKeyboardWriter(*dev, config, {oneMacroGroup()}, state);
    const ApplyResult result = apply(*writer);
    EXPECT_EQ(result.status, Status::TooLarge);
    EXPECT_THAT(result.detail, testing::HasSubstr("0x4000"));
    EXPECT_EQ(result.bytesWritten, 0);
    EXPECT_THAT(backend->sentFrames(0), testing::IsEmpty());
    EXPECT_EQ(backend->activationCount(0), 0);
    EXPECT_THAT(state.settings, testing::ElementsAre(0, 0, 0));
}

} // namespace
} // namespace varnix
