// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse image: header fields of both layouts, golden images, the size limit and the write
// into the simulated mouse.
#include "device/MouseWriter.h"
#include "device/SimulatedBackend.h"
#include "mouse/MouseImageBuilder.h"
#include "tests/mouse/MouseTestFixture.h"

#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

namespace fs = std::filesystem;

struct Built {
    MouseFeatureProfile feature;
    MouseDeviceValues values;
    std::vector<MacroGroup> macros = test::fixtureMacros();
    std::vector<MacroRecord> shortcuts = test::fixtureShortcuts();
    ParameterImage image;

    explicit Built(bool extended, MouseConfigModel model = test::fixtureModel()) {
        feature = test::fixtureFeature(extended);
        values = MouseDeviceValues::fromModel(model, macros);
        image = MouseImageBuilder::build(
            {values, feature, MouseImageBuilder::extendedLayout(feature), macros, shortcuts});
    }
    int at(int address) const { return image.at(address) ? int(*image.at(address)) : -1; }
};

// The golden files are the reviewed images; VARNIX_UPDATE_GOLDEN=1 rewrites them.
void expectGolden(const ParameterImage& image, const std::string& name) {
    const fs::path file = test::testDataDir() / "mouse" / name;
    if (std::getenv("VARNIX_UPDATE_GOLDEN"))
        test::writeTextFile(file, image.toText());
    EXPECT_EQ(image.toText(), test::readTextFile(file)) << file;
}

TEST(MouseImageTest, GoldenImagesOfBothLayouts) {
    expectGolden(Built(false).image, "basic.image");
    expectGolden(Built(true).image, "extended.image");
}

TEST(MouseImageTest, HeaderFieldsOfTheBasicLayout) {
    const Built built(false);
    const std::vector<std::pair<int, int>> cases{
        {1, 2 * 32}, // profile 2
        {8, 2},          {9, 1},
        {10, 15},        {11, 4},
        {12, 14},        {13, 14},
        {14, 0},         {16, 0},
        {17, 0},         {18, 0},
        {19, 0b011100}, // bit 4 of the indexes 16, 17, 23 (levels 2, 3, 4)
        {20, 2 << 3},   // DPI_K4K5DPI_LED_TYPE
        {21, 0x18},      {22, 0x01},
        {23, 0x70},      {24, 3}, // level only: the long-hold switches need the extended layout
        {25, 0b011011},  {26, 1000 / 8},
        {27, 0},         {28, 0x80 | 0x00 | 0x08 | 3}, // Flow (8): bit 7, moving, speed code 3
        {29, 0b0101010}, {30, 1},
        {31, 0},         {32, 0x00},
        {33, 0x0F},      {34, 0x0F}, // DPI level 0 red, LED slots not in this layout
        {50, 0},         {51, 0},
        {52, 0},         {57, 0},
        {58, 0},         {59, 0},
        {62, 0},         {63, 0},
        {64, 0},         {65, 0},
        {66, 0},         {67, (1 << 6) | (3 << 4)},
        {68, 2},         {70, 15},
        {72, 13},        {73, 0}, // profile 1: shortcut, empty macro
        {82, 15},        {84, 13},
        {85, 13}, // profile 2
        {98, 15},        {100, 12},
        {101, 28}, // profile 3
        {109, 0},
    };
    for (const auto& [address, byte] : cases)
        EXPECT_EQ(built.at(address), byte) << "address " << address;
    for (int address : {0, 2, 3, 4, 5, 6, 7})
        EXPECT_FALSE(built.image.contains(address)) << address;
    for (int address = 1; address <= 109; ++address)
        if (address < 2 || address > 7) {
            EXPECT_TRUE(built.image.contains(address)) << address;
        }
}

TEST(MouseImageTest, TheExtendedLayoutAddsLedColoursBrightnessAndSwitches) {
    const Built built(true);
    const std::vector<std::pair<int, int>> cases{
        {1, 2 * 32 + 3},
        {24, 3 | 1 << 3 | 1 << 5}, // level 3, LED on/off and profile change on long hold
        {32, 0x00 | 0x00},         // DPI level 0 red 0, LED slot 0 red 0
        {33, 0xF0 | 0x0F},         // green: LED 15, DPI 15
        {35, 0xF0 | 0x0F},         // slot 1 (green) red component
        {36, 0x00 | 0x00},
        {62, 0x5 << 4 | 0x3}, // slot 6 0xABCDEF: red 15 - 10, green 15 - 12
        {63, 2 << 4 | 0x1},   // brightness code 2, blue 15 - 14
    };
    for (const auto& [address, byte] : cases)
        EXPECT_EQ(built.at(address), byte) << "address " << address;
}

TEST(MouseImageTest, LedModeByte) {
    const std::vector<std::tuple<int, int, int>> cases{
        {0, 3, 0x0B},  {1, 0, 0x18},  {2, 3, 0x27},    {8, 5, 0x8D}, {9, 1, 0x97},
        {12, 2, 0xC7}, {13, 2, 0xD7}, {11, 255, 0xBF}, {20, 1, 0x47}};
    for (const auto& [mode, speed, byte] : cases)
        EXPECT_EQ(
            mouseLedModeByte(static_cast<std::uint8_t>(mode), static_cast<std::uint8_t>(speed)),
            byte)
            << mode;
}

TEST(MouseImageTest, LightingImageHoldsOnlyTheLightingAddresses) {
    const Built built(true);
    const ParameterImage lighting = MouseImageBuilder::lightingImage(built.image);
    EXPECT_EQ(lighting.size(), 22u);
    for (const auto& [address, byte] : lighting)
        EXPECT_EQ(built.at(address), byte);
    EXPECT_FALSE(lighting.contains(1));
}

class MouseApplyTest : public ::testing::Test {
protected:
    MouseApplyTest()
        : backend({{0x3151, 0x1441, "Tavro_Quenra-Rum1", 0, 16384, true, false}}, clock),
          dev(backend, clock, target) {
        DeviceRecord& record = dev.DeviceList[0];
        EXPECT_TRUE(dev.OpenDevice(record));
        target.set(record.WriteHandle);
    }
    ManualClock clock;
    SimulatedBackend backend;
    SharedWriteHandle target;
    FindDev dev;
};

TEST_F(MouseApplyTest, DeviceMemoryEqualsTheImage) {
    for (bool extended : {false, true}) {
        backend.setMemory(0, 0, std::vector<std::uint8_t>(16384, 0xEE));
        const Built built(extended);
        MouseWriter writer(dev, built.image);
        ASSERT_TRUE(writer.write({}).completed());
        const std::vector<std::uint8_t> memory = backend.memory(0);
        for (const auto& [address, byte] : built.image)
            ASSERT_EQ(memory[static_cast<std::size_t>(address)], byte) << address;
        EXPECT_EQ(memory[0], 0xEE); // addresses outside the image are not touched
        EXPECT_EQ(memory[2], 0xEE);
    }
}

// Many long macros on many keys make an image that does not fit: nothing is written.
TEST_F(MouseApplyTest, ImagesOf3873BytesAreRefused) {
    MouseConfigModel model = test::fixtureModel();
    std::vector<MacroGroup> macros(1);
    macros[0].guid = "G";
    for (int i = 0; i < 8; ++i) {
        MacroRecord macro = test::keyMacro("L" + std::to_string(i), 4, 0);
        macro.data.num = 275;
        for (std::size_t k = 0; k < 275; ++k) {
            macro.data.macSta[k] = MacroStatusPress;
            macro.data.macVal[k] = 4;
        }
        macros[0].macros.push_back(macro);
    }
    for (int p = 0; p < 4; ++p)
        for (int k = 2; k < 4; ++k) {
            MouseKeyBinding& binding = *model.binding(p, k);
            binding.code = 50;
            binding.grpGuid = "G";
            binding.macGuid = "L" + std::to_string(p * 2 + k - 2);
        }
    const MouseFeatureProfile feature = test::fixtureFeature(true);
    const MouseDeviceValues values = MouseDeviceValues::fromModel(model, macros);
    std::vector<std::string> warnings;
    const ParameterImage image =
        MouseImageBuilder::build({values, feature, true, macros, {}}, &warnings);
    ASSERT_GE(image.size(), MouseImageLimit);
    EXPECT_EQ(warnings.size(), 0u); // 275 two-byte entries fit the 560-byte buffer
    backend.clearFrames();
    MouseWriter writer(dev, image);
    EXPECT_EQ(writer.write({}).status, Status::TooLarge);
    EXPECT_TRUE(backend.sentFrames(0).empty());
}

} // namespace
} // namespace varnix
