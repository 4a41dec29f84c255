// SPDX-License-Identifier: GPL-3.0-or-later
// MouseConfig.json: loading, saving, reset, export and import, and the DPI texts.
#include "mouse/MouseConfigFile.h"
#include "tests/support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

using nlohmann::json;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

json fixture() {
    return json::parse(test::readTextFile(test::testDataDir() / "mouse/MouseConfig.json"));
}

class MouseConfigTest : public ::testing::Test {
protected:
    MouseConfigTest() {
        fs::create_directories(folder() / "Config");
        write(MouseConfigFile::configPath(folder()), fixture());
    }
    fs::path folder() const { return dir.path() / "MouseA"; }
    static void write(const fs::path& file, const json& document) {
        test::writeTextFile(file, document.dump(4));
    }
    MouseConfigModel loaded(const fs::path& file) {
        MouseConfigModel model;
        EXPECT_TRUE(test::isOk(MouseConfigFile::load(file, model)));
        return model;
    }

    test::TempDir dir;
};

TEST(DpiTextTest, IndexesOutsideTheListAreNull) {
    const std::vector<std::pair<int, std::string>> cases{{0, "Null"},  {1, "200"},    {10, "2000"},
                                                         {11, "2400"}, {22, "11200"}, {23, "12800"},
                                                         {24, "Null"}, {-1, "Null"}};
    for (const auto& [index, text] : cases)
        EXPECT_EQ(dpiText(index), text) << index;
}

TEST_F(MouseConfigTest, ShortKeyArraysLeaveTheOtherProfilesAtTheTemplate) {
    const MouseConfigModel model = loaded(MouseConfigFile::configPath(folder()));
    EXPECT_EQ(model.binding(0, 3)->code, 4);
    EXPECT_EQ(model.binding(1, 3)->code, 5);
    EXPECT_EQ(model.binding(2, 3)->code, 0);
    EXPECT_EQ(model.binding(3, 3)->code, 0);
    EXPECT_EQ(model.binding(3, 3)->text, "InitNull");
    EXPECT_EQ(model.binding(0, 4)->grpGuid, "G1");
    EXPECT_EQ(model.binding(2, 4)->macGuid, "M2");
    EXPECT_EQ(model.profiles[0].size(), 13u);
    ASSERT_EQ(model.dpiLevels.size(), 6u);
    EXPECT_EQ(model.dpiLevels[3], (DpiLevel{1, 17, 0xFF808080}));
    ASSERT_EQ(model.ledColours.size(), 7u);
    EXPECT_EQ(model.ledColours[1], (LedColourSlot{1, 0xFF00FF00}));
    EXPECT_TRUE(model.issysmetry);
    EXPECT_EQ(model.ver, 7u);
    EXPECT_EQ(model.curporfile, 2u);
}

TEST_F(MouseConfigTest, LongArraysUseFourProfilesAndUnknownKeysAreIgnored) {
    json document = fixture();
    document["mouseconfig"]["mousekey"]["btn_MouseKey_Click0"] = {9, 8, 7, 6, 5, 4};
    document["mouseconfig"]["mousekey"]["btn_MouseKey_Click99"] = {1, 1, 1, 1};
    write(MouseConfigFile::configPath(folder()), document);
    const MouseConfigModel model = loaded(MouseConfigFile::configPath(folder()));
    EXPECT_EQ(model.binding(3, 0)->code, 6);
    EXPECT_EQ(model.profiles[0].count("btn_MouseKey_Click99"), 0u);
}

// A wrong type is reported and the previous model stays whole (the load works on a copy).
TEST_F(MouseConfigTest, TypeErrorsKeepThePreviousModel) {
    const MouseConfigModel before = loaded(MouseConfigFile::configPath(folder()));
    const std::vector<std::pair<std::function<void(json&)>, std::string>> cases{
        {[](json& d) { d["mouseconfig"]["mouseled"]["issysmetry"] = 1; },
         "type must be boolean, but is number"},
        {[](json& d) { d["mouseconfig"]["mouseadv"].erase("firevalue"); },
         "type must be number, but is null"},
        {[](json& d) { d["mouseconfig"]["mousekey"]["btn_MouseKey_Click1"] = {"x"}; },
         "type must be number, but is string"},
        {[](json& d) { d["mouseconfig"].erase("mousemain"); }, "type must be number, but is null"},
    };
    for (const auto& [edit, message] : cases) {
        json document = fixture();
        edit(document);
        write(MouseConfigFile::configPath(folder()), document);
        MouseConfigModel model = before;
        test::DiagnosticCapture capture;
        const Outcome result = MouseConfigFile::load(MouseConfigFile::configPath(folder()), model);
        EXPECT_EQ(result.status, Status::Invalid);
        EXPECT_THAT(result.detail, HasSubstr(message));
        EXPECT_THAT(capture.debug(), HasSubstr(message));
        EXPECT_EQ(model, before);
    }
}

TEST_F(MouseConfigTest, BooleansAndFloatsConvertToNumbers) {
    json document = fixture();
    document["mouseconfig"]["mouseadv"]["firevalue"] = 12.75;
    document["mouseconfig"]["mouseadv"]["ctrl_MouseAdv_Dpi0"][0] = true;
    write(MouseConfigFile::configPath(folder()), document);
    const MouseConfigModel model = loaded(MouseConfigFile::configPath(folder()));
    EXPECT_EQ(model.firevalue, 12u);
    EXPECT_EQ(model.dpiLevels[0].enabled, 1);
}

TEST_F(MouseConfigTest, MissingFileLeavesTheModel) {
    MouseConfigModel model;
    model.firevalue = 42;
    EXPECT_EQ(MouseConfigFile::load(folder() / "none.json", model).status, Status::Missing);
    EXPECT_EQ(model.firevalue, 42u);
}

TEST_F(MouseConfigTest, SaveWritesSortedIndentedJsonAndCallsBack) {
    const MouseConfigModel model = loaded(MouseConfigFile::configPath(folder()));
    const fs::path target = dir / "saved.json";
    int calls = 0;
    ASSERT_TRUE(MouseConfigFile::save(target, model, [&] { ++calls; }).ok());
    EXPECT_EQ(calls, 1);
    const std::string text = test::readTextFile(target);
    EXPECT_EQ(text, json::parse(text).dump(4));
    EXPECT_THAT(text, HasSubstr("\n    \"mouseconfig\": {"));
    EXPECT_EQ(loaded(target), model);
}

TEST_F(MouseConfigTest, FailedSaveDoesNotCallBack) {
    int calls = 0;
    const Outcome result =
        MouseConfigFile::save(dir / "no/such/folder/x.json", MouseConfigModel{}, [&] { ++calls; });
    EXPECT_EQ(result.status, Status::WriteFailed);
    EXPECT_EQ(calls, 0);
}

TEST_F(MouseConfigTest, ResetCopiesTheFactoryFileAndKeepsTheFileWithoutOne) {
    EXPECT_EQ(MouseConfigFile::reset(folder()).status, Status::Missing);
    EXPECT_EQ(json::parse(test::readTextFile(MouseConfigFile::configPath(folder()))), fixture());
    json factory = fixture();
    factory["mouseconfig"]["mouseadv"]["firevalue"] = 5;
    write(MouseConfigFile::resetPath(folder()), factory);
    ASSERT_TRUE(MouseConfigFile::reset(folder()).ok());
    EXPECT_EQ(loaded(MouseConfigFile::configPath(folder())).firevalue, 5u);
}

TEST_F(MouseConfigTest, ExportThenImportReproducesTheConfiguration) {
    const MouseConfigModel before = loaded(MouseConfigFile::configPath(folder()));
    const fs::path exchange = dir / "mine.Mouse.Config";
    ASSERT_TRUE(MouseConfigFile::exportTo(folder(), exchange, "Tavro_Quenra-Rum1").ok());
    const json exported = json::parse(test::readTextFile(exchange));
    EXPECT_EQ(exported["MouseName"][0], 'T');
    EXPECT_EQ(exported["MouseName"].size(), std::string("Tavro_Quenra-Rum1").size());

    MouseConfigModel changed = before;
    changed.firevalue = 999;
    ASSERT_TRUE(MouseConfigFile::save(MouseConfigFile::configPath(folder()), changed).ok());
    ASSERT_TRUE(MouseConfigFile::importFrom(folder(), exchange, "Tavro_Quenra-Rum1").ok());
    const json imported = json::parse(test::readTextFile(MouseConfigFile::configPath(folder())));
    EXPECT_TRUE(imported.contains("MouseName"));
    EXPECT_EQ(loaded(MouseConfigFile::configPath(folder())), before);
}

TEST_F(MouseConfigTest, ImportRefusalsLeaveTheConfigurationUnchanged) {
    const fs::path exchange = dir / "x.Mouse.Config";
    ASSERT_TRUE(MouseConfigFile::exportTo(folder(), exchange, "Tavro_Quenra-Rum1").ok());
    json noName = fixture();
    json wrongType = fixture();
    wrongType["MouseName"] = json::array({84, "a"});
    json notAConfig = {{"MouseName", json::array({84})}, {"mouseconfig", 3}};
    write(dir / "noname.Mouse.Config", noName);
    write(dir / "wrongtype.Mouse.Config", wrongType);
    write(dir / "notconfig.Mouse.Config", notAConfig);
    const std::string original = test::readTextFile(MouseConfigFile::configPath(folder()));

    // The last column: whether the page shows the "Error"/"ImportErr" message.
    const std::vector<std::tuple<fs::path, std::string, Status, bool>> cases{
        {exchange, "TAVRO_quenra-rum1", Status::Done, false},
        {exchange, "Tavro_Quenra-Rum2", Status::OtherModel, true},
        {exchange, "Tavro_Quenra-Rum", Status::OtherModel, true},
        {dir / "noname.Mouse.Config", "Tavro_Quenra-Rum1", Status::NoName, true},
        {dir / "wrongtype.Mouse.Config", "Ta", Status::Invalid, true},
        {dir / "notconfig.Mouse.Config", "T", Status::Invalid, true},
        {dir / "absent.Mouse.Config", "Tavro_Quenra-Rum1", Status::Missing, false},
    };
    for (const auto& [file, name, status, shown] : cases) {
        test::writeTextFile(MouseConfigFile::configPath(folder()), original);
        const Outcome outcome = MouseConfigFile::importFrom(folder(), file, name);
        EXPECT_EQ(outcome.status, status) << name;
        const std::pair<std::string, std::string> message =
            shown ? std::pair<std::string, std::string>{"Error", "ImportErr"}
                  : std::pair<std::string, std::string>{};
        EXPECT_EQ(test::shownKeys(outcome), message) << name;
        if (status != Status::Done) {
            EXPECT_FALSE(outcome.detail.empty()) << name;
            EXPECT_EQ(test::readTextFile(MouseConfigFile::configPath(folder())), original);
        }
    }
}

TEST_F(MouseConfigTest, KeyTextsAndFactoryCodes) {
    MouseConfigModel model = loaded(MouseConfigFile::configPath(folder()));
    for (int i = 0; i < 12; ++i)
        model.keyDefault[static_cast<std::size_t>(i)] = 100 + i;
    model.refreshKeyTexts([](int code) { return code == 4 ? std::string("A") : "Unknown Key"; });
    EXPECT_EQ(model.binding(0, 3)->text, "A");
    EXPECT_EQ(model.binding(1, 3)->text, "Unknown Key");
    EXPECT_EQ(model.binding(2, 11)->defaultCode, 111);
    EXPECT_EQ(model.binding(2, 10)->defaultCode, 110);
    // keyDefault holds twelve keys; the thirteenth binding gets no factory code.
    EXPECT_EQ(model.binding(0, 12)->defaultCode, 0);
}

} // namespace
} // namespace varnix
