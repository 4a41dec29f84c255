// SPDX-License-Identifier: GPL-3.0-or-later
// The pad page's model: loading a model folder, the brightness cap, the file commands and the
// image of an apply.
#include "lighting/PadPageModel.h"

#include "lighting/LedMode.h"
#include "tests/support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class PadPageModelTest : public ::testing::Test {
protected:
    PadPageModelTest() {
        fs::create_directories(dir.path() / "PadKorv");
        fs::copy(test::sourceResDir() / "PadKorv/PadA", folder(), fs::copy_options::recursive);
        fs::remove(PadLighting::configPath(folder()));
    }
    fs::path folder() const { return dir.path() / "PadKorv/PadA"; }
    std::string savedFile() const { return test::readTextFile(PadLighting::configPath(folder())); }
    // An exchange file of the shipped factory lighting made for `padName`.
    fs::path exchangeFile(const std::string& padName, const std::string& fileName) {
        json document = json::parse(test::readTextFile(PadLighting::resetPath(folder())));
        json name = json::array();
        for (char c : padName)
            name.push_back(static_cast<int>(c));
        document["PadName"] = name;
        document["Padconfig"]["Padled"]["curselmode"] = LedModeFlow;
        const fs::path file = dir.path() / fileName;
        test::writeTextFile(file, document.dump(4));
        return file;
    }

    test::TempDir dir;
    PadPageModel model;
};

TEST_F(PadPageModelTest, AFirstLoadWritesTheDefaultsAndCapsTheBrightness) {
    const Outcome loaded = model.load(folder(), "Tavro_Quenra-Wel1");
    EXPECT_EQ(loaded.status, Status::Created);
    EXPECT_TRUE(fs::exists(PadLighting::configPath(folder())));
    EXPECT_EQ(model.brightMax(), 5); // the shipped PadA's Setup.ini
    EXPECT_EQ(model.lighting().direction, PadLighting::defaults().direction);
    EXPECT_THAT(model.show(), ::testing::Contains(ViewRow{"slider_PadLed_BrightVal", "max", "5"}));

    PadLighting bright = PadLighting::defaults();
    bright.brightness = 9;
    ASSERT_TRUE(test::isOk(PadLighting::save(folder(), bright)));
    ASSERT_TRUE(test::isOk(model.load(folder(), "Tavro_Quenra-Wel1")));
    EXPECT_EQ(model.panel().effect().brightness, 5);
    model.panel().setBrightness(7);
    EXPECT_EQ(model.lighting().brightness, 5);
}

TEST_F(PadPageModelTest, AFileThatDoesNotReadKeepsWhatIsShownAndWarns) {
    ASSERT_TRUE(test::isOk(model.load(folder(), "Tavro_Quenra-Wel1")));
    model.panel().chooseMode("Neon");
    test::writeTextFile(PadLighting::configPath(folder()), "{\"Padconfig\": 3}");
    const Outcome loaded = model.load(folder(), "Tavro_Quenra-Wel1");
    EXPECT_EQ(loaded.status, Status::Invalid);
    EXPECT_EQ(test::shownKeys(loaded), (std::pair<std::string, std::string>{"Tip", "Json Warn"}));
    EXPECT_EQ(model.panel().effect().mode, LedModeNeon);
}

TEST_F(PadPageModelTest, SaveAndImageFollowWhatTheUserChanged) {
    ASSERT_TRUE(test::isOk(model.load(folder(), "Tavro_Quenra-Wel1")));
    model.panel().chooseMode("Constant");
    model.panel().setColour(2, 0xFF10E0F0);
    model.panel().chooseColourSlot(2);
    model.panel().setSpeed(4);
    ASSERT_TRUE(test::isOk(model.save()));
    PadLighting saved;
    ASSERT_TRUE(test::isOk(PadLighting::load(folder(), saved)));
    EXPECT_EQ(saved.effect(), model.panel().effect());
    EXPECT_EQ(saved.response, PadLighting::defaults().response); // kept as read
    EXPECT_EQ(model.image(), PadImageBuilder::build(PadDeviceValues::fromLighting(saved)));
    EXPECT_EQ(model.image().at(padimage::Mode), 0x30 | LedModeConstant);
}

TEST_F(PadPageModelTest, OnlyAnExchangeFileOfThisPadIsImported) {
    ASSERT_TRUE(test::isOk(model.load(folder(), "Tavro_Quenra-Wel1")));
    const std::string before = savedFile();
    test::writeTextFile(dir.path() / "broken.Light.Config",
                        "{\"PadName\": [84], \"Padconfig\": 1}");
    const fs::path refused[] = {exchangeFile("Tavro_Quenra-Wel2", "other.Light.Config"),
                                dir.path() / "broken.Light.Config",
                                dir.path() / "absent.Light.Config"};
    for (const fs::path& file : refused) {
        const Outcome imported = model.importFrom(file);
        EXPECT_FALSE(imported) << file;
        EXPECT_EQ(test::shownKeys(imported),
                  (std::pair<std::string, std::string>{"Error", "ImportErr"}))
            << file;
        EXPECT_EQ(savedFile(), before) << file;
        EXPECT_EQ(model.panel().effect().mode, LedModeMute) << file;
    }
    ASSERT_TRUE(
        test::isOk(model.importFrom(exchangeFile("tavro_quenra-WEL1", "mine.Light.Config"))));
    EXPECT_EQ(model.panel().effect().mode, LedModeFlow);
    EXPECT_NE(savedFile(), before);
}

TEST_F(PadPageModelTest, ExportNamesTheFileAsAnExchangeFile) {
    ASSERT_TRUE(test::isOk(model.load(folder(), "Tavro_Quenra-Wel1")));
    const std::pair<const char*, const char*> cases[] = {
        {"evening", "evening.Light.Config"},
        {"evening.Config", "evening.Light.Config"},
        {"evening.Light.Config", "evening.Light.Config"},
    };
    for (const auto& [chosen, written] : cases) {
        fs::path file;
        ASSERT_TRUE(test::isOk(model.exportTo(dir.path() / chosen, &file))) << chosen;
        EXPECT_EQ(file, dir.path() / written);
        const json document = json::parse(test::readTextFile(file));
        EXPECT_EQ(document["PadName"].size(), std::string("Tavro_Quenra-Wel1").size());
        fs::remove(file);
    }
    PadPageModel other;
    ASSERT_TRUE(test::isOk(other.load(folder(), "Tavro_Quenra-Wel1")));
    EXPECT_TRUE(test::isOk(other.importFrom([&] {
        fs::path file;
        EXPECT_TRUE(test::isOk(model.exportTo(dir.path() / "round", &file)));
        return file;
    }())));
}

TEST_F(PadPageModelTest, ResetLoadsTheFactoryLighting) {
    ASSERT_TRUE(test::isOk(model.load(folder(), "Tavro_Quenra-Wel1")));
    model.panel().chooseMode("Wave");
    ASSERT_TRUE(test::isOk(model.save()));
    ASSERT_TRUE(test::isOk(model.reset()));
    PadLighting factory;
    ASSERT_TRUE(test::isOk(PadLighting::load(folder(), factory)));
    EXPECT_EQ(model.panel().effect(), factory.effect());
    EXPECT_EQ(savedFile(), test::readTextFile(PadLighting::resetPath(folder())));

    fs::remove(PadLighting::resetPath(folder()));
    EXPECT_FALSE(model.reset());
}

} // namespace
} // namespace varnix
