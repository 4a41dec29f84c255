// SPDX-License-Identifier: GPL-3.0-or-later
// The pad: Padconfig.json with defaults, BrightMax, response pairs, exchange files, the device
// conversion, the image and its write into the simulated pad.
#include "lighting/PadLighting.h"

#include "device/PadWriter.h"
#include "device/SimulatedBackend.h"
#include "lighting/LedMode.h"
#include "lighting/PadImageBuilder.h"
#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

using nlohmann::json;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

class PadLightingTest : public ::testing::Test {
protected:
    PadLightingTest() { fs::create_directories(folder() / "Config"); }
    fs::path folder() const { return dir.path() / "PadA"; }
    void setBrightMax(const std::string& value) {
        test::writeTextFile(folder() / "Config/Setup.ini", "[Set]\nBrightMax=" + value + "\n");
    }
    void writeConfig(const json& document) {
        test::writeTextFile(PadLighting::configPath(folder()), document.dump(4));
    }
    json configDocument() {
        return json::parse(test::readTextFile(PadLighting::configPath(folder())));
    }
    test::TempDir dir;
};

TEST_F(PadLightingTest, AMissingFileIsReplacedByTheDefaults) {
    PadLighting lighting;
    std::uint8_t brightMax = 0;
    EXPECT_EQ(PadLighting::load(folder(), lighting, &brightMax).status, Status::Created);
    EXPECT_EQ(lighting, PadLighting::defaults());
    EXPECT_EQ(brightMax, 7);
    EXPECT_EQ(lighting.response.size(), 8u);
    EXPECT_EQ(lighting.slots[6], (ColourSlot{1, 0xFFFF0000}));
    EXPECT_EQ(lighting.direction, 1);
    PadLighting again;
    EXPECT_EQ(PadLighting::load(folder(), again).status, Status::Done);
    EXPECT_EQ(again, lighting);
    EXPECT_EQ(configDocument()["Padconfig"]["Padled"]["singlecycle"], 0);
}

TEST_F(PadLightingTest, BrightnessIsCappedByBrightMax) {
    const std::vector<std::tuple<std::string, int, int, int>> cases{
        // BrightMax text, stored brightness, expected brightness, expected maximum
        {"5", 9, 5, 5},
        {"5", 4, 4, 5},
        {"", 9, 7, 7},
        {"9", 8, 8, 9}};
    for (const auto& [text, stored, expected, maximum] : cases) {
        setBrightMax(text);
        PadLighting saved = PadLighting::defaults();
        saved.brightness = stored;
        ASSERT_TRUE(PadLighting::save(folder(), saved).ok());
        PadLighting lighting;
        std::uint8_t brightMax = 0;
        ASSERT_TRUE(PadLighting::load(folder(), lighting, &brightMax).ok());
        EXPECT_EQ(lighting.brightness, expected) << text;
        EXPECT_EQ(brightMax, maximum) << text;
    }
}

TEST_F(PadLightingTest, TenResponseEntriesAreKeptAndTheFirstEightWritten) {
    PadLighting saved = PadLighting::defaults();
    saved.response.clear();
    for (int i = 0; i < 10; ++i)
        saved.response.push_back({i % 2, i});
    writeConfig(PadLighting::toJson(saved));
    EXPECT_EQ(configDocument()["Padconfig"]["Padled"]["response"].size(), 8u);

    json document = PadLighting::toJson(saved);
    json& response = document["Padconfig"]["Padled"]["response"];
    response.push_back({{"enable", 1}, {"mode", 8}});
    response.push_back({{"enable", 0}, {"mode", 9}});
    writeConfig(document);
    PadLighting lighting;
    ASSERT_TRUE(PadLighting::load(folder(), lighting).ok());
    ASSERT_EQ(lighting.response.size(), 10u);
    EXPECT_EQ(lighting.response[9], (PadResponsePair{0, 9}));
    ASSERT_TRUE(PadLighting::save(folder(), lighting).ok());
    const json written = configDocument()["Padconfig"]["Padled"]["response"];
    ASSERT_EQ(written.size(), 8u);
    EXPECT_EQ(written[7]["mode"], 7);
}

TEST_F(PadLightingTest, AFileThatDoesNotReadLeavesTheModel) {
    json document = PadLighting::toJson(PadLighting::defaults());
    document["Padconfig"]["Padled"]["issysmetry"] = 0;
    writeConfig(document);
    PadLighting lighting;
    lighting.mode = 9;
    const Outcome result = PadLighting::load(folder(), lighting);
    EXPECT_EQ(result.status, Status::Invalid);
    EXPECT_THAT(result.detail, HasSubstr("type must be boolean, but is number"));
    EXPECT_EQ(lighting.mode, 9);
    // The broken file is not overwritten by defaults.
    EXPECT_EQ(configDocument()["Padconfig"]["Padled"]["issysmetry"], 0);
}

TEST_F(PadLightingTest, ExportImportAndReset) {
    PadLighting mine = PadLighting::defaults();
    mine.mode = LedModeFlow;
    ASSERT_TRUE(PadLighting::save(folder(), mine).ok());
    const fs::path exchange = dir / "mine.Light.Config";
    ASSERT_TRUE(PadLighting::exportTo(folder(), exchange, "Tavro_Quenra-Wel1").ok());
    ASSERT_TRUE(PadLighting::save(folder(), PadLighting::defaults()).ok());
    const std::string before = test::readTextFile(PadLighting::configPath(folder()));

    const std::pair<std::string, std::string> importError{"Error", "ImportErr"};
    const Outcome otherPad = PadLighting::importFrom(folder(), exchange, "Tavro_Quenra-Wel2");
    EXPECT_EQ(otherPad.status, Status::OtherModel);
    EXPECT_EQ(test::shownKeys(otherPad), importError);
    EXPECT_EQ(test::readTextFile(PadLighting::configPath(folder())), before);
    test::writeTextFile(dir / "noname.Light.Config", PadLighting::toJson(mine).dump());
    const Outcome noName = PadLighting::importFrom(folder(), dir / "noname.Light.Config", "x");
    EXPECT_EQ(noName.status, Status::NoName);
    EXPECT_EQ(test::shownKeys(noName), importError);
    json broken = json::parse(test::readTextFile(exchange));
    broken["Padconfig"]["Padled"]["issysmetry"] = 0;
    test::writeTextFile(dir / "broken.Light.Config", broken.dump());
    const Outcome unreadable =
        PadLighting::importFrom(folder(), dir / "broken.Light.Config", "Tavro_Quenra-Wel1");
    EXPECT_EQ(unreadable.status, Status::Invalid);
    EXPECT_EQ(test::shownKeys(unreadable), importError);
    EXPECT_EQ(test::readTextFile(PadLighting::configPath(folder())), before);

    ASSERT_TRUE(PadLighting::importFrom(folder(), exchange, "tavro_quenra-WEL1").ok());
    PadLighting imported;
    ASSERT_TRUE(PadLighting::load(folder(), imported).ok());
    EXPECT_EQ(imported.mode, LedModeFlow);

    EXPECT_EQ(PadLighting::reset(folder()).status, Status::Missing);
    test::writeTextFile(PadLighting::resetPath(folder()),
                        PadLighting::toJson(PadLighting::defaults()).dump(4));
    ASSERT_TRUE(PadLighting::reset(folder()).ok());
    PadLighting reset;
    ASSERT_TRUE(PadLighting::load(folder(), reset).ok());
    EXPECT_EQ(reset, PadLighting::defaults());
}

TEST(PadDeviceValuesTest, ColourIndexRule) {
    struct Case {
        int colourType;
        int mode;
        int expected;
    };
    // previous value 6; selectedSlot 2
    const std::vector<Case> cases{{0, 1, 3}, {0, 2, 3}, {1, 2, 3}, {1, 1, 0},
                                  {1, 8, 0}, {5, 1, 6}, {5, 2, 3}};
    for (const Case& c : cases) {
        PadDeviceValues values;
        values.colourIndex = 6;
        LedEffect effect;
        effect.colourType = c.colourType;
        effect.mode = c.mode;
        effect.selectedSlot = 2;
        values.fill(effect);
        EXPECT_EQ(values.colourIndex, c.expected) << c.colourType << " " << c.mode;
    }
}

PadLighting sampleLighting() {
    PadLighting lighting = PadLighting::defaults();
    lighting.mode = LedModeCometTail;
    lighting.colourType = LedCycleColours;
    lighting.brightness = 5;
    lighting.speed = 3;
    lighting.symmetric = true;
    lighting.direction = 2;
    const std::array<std::uint32_t, 7> colours{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF123456,
                                               0xFFFFFFFF, 0xFF000000, 0xFFABCDEF};
    for (std::size_t k = 0; k < 7; ++k)
        lighting.slots[k] = {k == 3 ? 0 : 1, colours[k]};
    return lighting;
}

TEST(PadImageTest, BytesOfTheImage) {
    const ParameterImage image =
        PadImageBuilder::build(PadDeviceValues::fromLighting(sampleLighting()));
    const std::vector<std::pair<int, int>> cases{
        {281, 0x0F},
        {282, 0x5F}, // slot 0 red: R' 0, B' 15; G' 15
        {283, 0xFF},
        {284, 0x50}, // slot 1 green
        {285, 0xF0},
        {286, 0x5F}, // slot 2 blue
        {287, 0xEA},
        {288, 0xFC}, // slot 3 0x123456
        {289, 0x00},
        {290, 0xF0},
        {291, 0xFF},
        {292, 0xFF},
        {293, 0x51},
        {294, 0x03}, // slot 6 0xABCDEF
        {295, 0},
        {298, 0},
        {299, 0xFF},
        {300, 0xAA},
        {301, 0},
        {302, 0},
        {303, 0xFF},
        {304, 2 << 6 | 2 << 3 | 3}, // direction 2, 7 - 5, speed 3
        {305, 0x80 | 0 << 4 | 6},   // symmetric, cycle: colour index 0, CometTail
        {306, 0b1110111},
    };
    for (const auto& [address, byte] : cases)
        EXPECT_EQ(*image.at(address), byte) << address;
    EXPECT_EQ(image.size(), 26u);
    EXPECT_EQ(image.entries().begin()->first, 281);
    EXPECT_EQ(image.endAddress(), 307);
}

TEST(PadImageTest, GoldenImageOfTheDefaults) {
    const ParameterImage image =
        PadImageBuilder::build(PadDeviceValues::fromLighting(PadLighting::defaults()));
    const fs::path file = test::testDataDir() / "pad/defaults.image";
    if (std::getenv("VARNIX_UPDATE_GOLDEN"))
        test::writeTextFile(file, image.toText());
    EXPECT_EQ(image.toText(), test::readTextFile(file));
}

TEST(PadImageTest, ApplyLeavesTheImageInThePadAndKeepsItsIdentity) {
    ManualClock clock;
    SimulatedBackend backend({{0x3151, 0x3031, "Tavro_Quenra-Wel1", 0, 4096, true, false}}, clock);
    SharedWriteHandle target;
    FindDev dev(backend, clock, target);
    DeviceRecord& record = dev.DeviceList[9];
    ASSERT_TRUE(dev.OpenDevice(record));
    target.set(record.WriteHandle);
    backend.setMemory(0, 256, std::vector<std::uint8_t>(768, 0xEE));
    const ParameterImage image =
        PadImageBuilder::build(PadDeviceValues::fromLighting(sampleLighting()));
    PadWriter writer(dev, image);
    ASSERT_TRUE(writer.write({}).completed());
    const std::vector<std::uint8_t> memory = backend.memory(0);
    for (const auto& [address, byte] : image)
        EXPECT_EQ(memory[static_cast<std::size_t>(address)], byte) << address;
    EXPECT_EQ(memory[280], 0xEE);
    EXPECT_EQ(memory[307], 0xEE);
    std::string product;
    int pid = 0;
    int vid = 0;
    ASSERT_TRUE(dev.QueryProductInfo(product, pid, vid));
    EXPECT_EQ(product, "Tavro_Quenra-Wel1");
}

} // namespace
} // namespace varnix
