// SPDX-License-Identifier: GPL-3.0-or-later
// The macro file: loading, saving, keys kept, names as code units, bad input, reset, lists.
#include "common/Utf16.h"
#include "tests/macro/MacroTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <regex>
#include <set>

namespace fs = std::filesystem;
using nlohmann::json;
using ::testing::HasSubstr;

namespace varnix {
namespace {

class MacroStoreFileTest : public test::MacroStoreFixture {
protected:
    void installFixture() {
        fs::create_directories(store.folder);
        fs::copy_file(test::testDataDir() / "macro/macroConfig-extra-keys.json", macroFile());
        ASSERT_TRUE(test::isOk(store.LoadMacroFile()));
    }
};

TEST_F(MacroStoreFileTest, LoadsGroupsMacrosBindingsAndNameUnits) {
    installFixture();
    ASSERT_EQ(store.groups.size(), 1u);
    const MacroGroup& group = store.groups[0];
    EXPECT_EQ(group.name, "Spiel \U0001F600");
    EXPECT_EQ(group.guid, "0A1B2C3D-0000-4000-8000-000000000001");
    ASSERT_EQ(group.macros.size(), 1u);
    const MacroRecord& macro = group.macros[0];
    // Name elements: 77, 228, 107.9 (truncated) and -1 (16 bits: 0xFFFF).
    EXPECT_EQ(utf8ToUtf16(macro.name), (std::u16string{u'M', 0xE4, u'k', 0xFFFF}));
    EXPECT_EQ(macro.bindKeyCount, 2);
    ASSERT_EQ(macro.bindings.count("Tavro Sel1"), 1u);
    EXPECT_EQ(macro.bindings.at("Tavro Sel1"),
              (std::vector<MacroKeyBinding>{{"Profile1", "F1"}, {"Profile2", "G2"}}));
    EXPECT_EQ(macro.data.rptType, 0x0E);
    EXPECT_EQ(macro.data.num, 3);
    EXPECT_EQ(macro.data.YStep, 7);
    EXPECT_EQ(macro.data.extVal[2], (MacroExtValue{10, 3}));
}

TEST_F(MacroStoreFileTest, SaveKeepsOtherKeysSortedIndentedAndNamesOutsideTheBasicPlane) {
    installFixture();
    const std::string name = "Gruppe \u00fc\u540d \U0001F3AE";
    ASSERT_TRUE(store.RenameGroup(0, name));
    const std::string text = macroFileText();
    EXPECT_TRUE(text.starts_with("{\n    \"AppVersion\": \"1.0.7\",\n    \"MacroGrpInfo\": [\n"))
        << text.substr(0, 80);
    const json saved = json::parse(text);
    EXPECT_EQ(saved["Window"], json::parse(R"({"ratio":1.25,"list":[1,2,3]})"));
    EXPECT_EQ(saved["MacroGrpInfo"][0]["GrpName"].back(), json(0xDFAE)); // low surrogate
    const json& data = saved["MacroGrpInfo"][0]["MacroInfo"][0]["macData"];
    for (const char* key : {"macSta", "macVal", "extVal", "macDly"})
        EXPECT_EQ(data[key].size(), 275u) << key;

    const MacroStore again = reloaded();
    EXPECT_EQ(again.groups[0].name, name);
    EXPECT_EQ(again.groups[0].macros, store.groups[0].macros);
}

TEST_F(MacroStoreFileTest, MissingFileLoadsNothingAndTheFirstChangeWritesOne) {
    EXPECT_TRUE(store.LoadMacroFile());
    EXPECT_TRUE(store.groups.empty());
    EXPECT_FALSE(fs::exists(macroFile()));
    ASSERT_TRUE(store.AddGroup(0, "New Group"));
    const json saved = json::parse(macroFileText());
    ASSERT_EQ(saved["MacroGrpInfo"].size(), 1u);
    EXPECT_EQ(saved["MacroGrpInfo"][0]["GrpName"], macrofile::nameToJson("New Group"));
}

// Each bad file: the load fails with a clear reason, the store keeps what it had, and the bad
// file is kept aside so that the next save cannot lose it.
TEST_F(MacroStoreFileTest, BadFilesKeepTheStoreAndAreKeptAside) {
    installFixture();
    const std::string good = macroFileText();
    const json goodDocument = store.document;
    const auto badMacro = [&](const std::function<void(json&)>& edit) {
        json document = json::parse(good);
        edit(document["MacroGrpInfo"][0]["MacroInfo"][0]);
        return document.dump();
    };
    const std::pair<std::string, std::string> cases[] = {
        {"{\"MacroGrpInfo\": [", "parse error"},
        {"[1, 2]", "does not hold a JSON object"},
        {R"({"MacroGrpInfo": {"a": 1}})", "\"MacroGrpInfo\" is not an array"},
        {badMacro([](json& m) { m["macData"]["macSta"].erase(274); }), "out of range"},
        {badMacro([](json& m) { m["macData"]["extVal"][3] = json::array({1}); }), "out of range"},
        {badMacro([](json& m) { m["MacroName"][1] = "x"; }), "type must be number, but is string"},
        {badMacro([](json& m) { m["MacroName"] = "Name"; }), "not an array"},
        {badMacro([](json& m) { m["macData"]["num"] = json::array(); }), "type must be number"},
        {badMacro([](json& m) { m["MacroGuid"] = 5; }), "type must be string"},
        {badMacro([](json& m) { m.erase("macData"); }), "macData"},
        {badMacro([](json& m) { m["BindKeysInfo"] = 1; }), "\"BindKeysInfo\" is not an array"},
    };
    for (const auto& [bytes, reason] : cases) {
        test::writeTextFile(macroFile(), bytes);
        const Outcome loaded = store.LoadMacroFile();
        EXPECT_FALSE(loaded) << bytes.substr(0, 60);
        EXPECT_THAT(loaded.detail, HasSubstr(reason)) << bytes.substr(0, 60);
        EXPECT_FALSE(loaded.hasMessage()) << "load failures show no popup";
        EXPECT_EQ(store.groups.size(), 1u);
        EXPECT_EQ(store.groups[0].name, "Spiel \U0001F600");
        EXPECT_EQ(store.document, goodDocument);
        EXPECT_EQ(test::readTextFile(fs::path(macroFile().string() + ".unreadable")), bytes);
    }
}

TEST_F(MacroStoreFileTest, NumbersBeyondTheSlotsAreLimited) {
    installFixture();
    json document = json::parse(macroFileText());
    document["MacroGrpInfo"][0]["MacroInfo"][0]["macData"]["num"] = 4000;
    test::writeTextFile(macroFile(), document.dump());
    ASSERT_TRUE(store.LoadMacroFile());
    EXPECT_EQ(store.groups[0].macros[0].data.num, MacroSlotCount);
}

TEST_F(MacroStoreFileTest, SaveFailureIsReportedAndLeavesNoPartialFile) {
    makeOneMacro();
    const std::string before = macroFileText();
    // A folder where the temporary file should go makes every write fail.
    fs::remove(macroFile());
    fs::create_directory(macroFile());
    const Outcome renamed = store.RenameMacro(0, 0, "X");
    EXPECT_FALSE(renamed);
    EXPECT_THAT(renamed.detail, HasSubstr("cannot replace"));
    fs::remove(macroFile());
    for (const auto& entry : fs::directory_iterator(store.folder))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".macroConfig")) << entry.path();
}

TEST_F(MacroStoreFileTest, RebuildWritesBindingsAndKeepsOtherKeys) {
    installFixture();
    store.groups[0].macros[0].bindings["Pad"] = {{"P1", "Key 1"}};
    store.groups[0].macros[0].bindKeyCount = 3;
    store.RebuildDocument();
    EXPECT_EQ(store.document["AppVersion"], "1.0.7");
    const json& macro = store.document["MacroGrpInfo"][0]["MacroInfo"][0];
    EXPECT_EQ(macro["BindKeys"], 3);
    ASSERT_EQ(macro["BindKeysInfo"].size(), 2u);
    EXPECT_EQ(macro["BindKeysInfo"][0]["BindDeviceName"], macrofile::nameToJson("Pad"));
    EXPECT_EQ(macro["BindKeysInfo"][0]["BindKeysData"][0],
              json::parse(R"({"Config": "P1", "KeyName": "Key 1"})"));
    ASSERT_TRUE(store.SaveMacroFile());
    EXPECT_EQ(reloaded().groups, store.groups);
}

TEST_F(MacroStoreFileTest, ResetBacksUpAndRestoresTheFactoryFile) {
    installFixture();
    const std::string user = macroFileText();
    fs::create_directories(root / "MacroKorv/MacroDataReset");
    fs::copy_file(test::sourceResDir() / "MacroKorv/MacroDataReset/macroReset.json",
                  root / "MacroKorv/MacroDataReset/macroReset.json");
    ASSERT_TRUE(test::isOk(store.ResetMacros()));
    EXPECT_EQ(test::readTextFile(store.folder / "macroConfig.json.bak"), user);
    ASSERT_EQ(store.groups.size(), 1u);
    EXPECT_EQ(store.groups[0].name, "Default");
    EXPECT_EQ(store.groups[0].macros.size(), 3u);
}

TEST_F(MacroStoreFileTest, ResetWithoutFactoryFileEmptiesTheStoreButKeepsABackup) {
    installFixture();
    ASSERT_TRUE(test::isOk(store.ResetMacros()));
    EXPECT_TRUE(store.groups.empty());
    const json saved = json::parse(macroFileText());
    EXPECT_FALSE(saved.contains("MacroGrpInfo"));
    EXPECT_EQ(saved["AppVersion"], "1.0.7");
    const json backup = json::parse(test::readTextFile(store.folder / "macroConfig.json.bak"));
    EXPECT_EQ(backup["MacroGrpInfo"][0]["GrpGuid"], "0A1B2C3D-0000-4000-8000-000000000001");
}

TEST_F(MacroStoreFileTest, ShippedFilesLoad) {
    for (const char* file :
         {"MacroKorv/MacroData/macroConfig.json", "MacroKorv/MacroDataReset/macroReset.json"}) {
        const json document = json::parse(test::readTextFile(test::sourceResDir() / file));
        ASSERT_EQ(document["MacroGrpInfo"].size(), 1u) << file;
        EXPECT_NO_THROW(macrofile::groupFromJson(document["MacroGrpInfo"][0])) << file;
    }
}

TEST(MacroListTest, ReadsMacrosWithoutBindingsAndGivesNothingForBadFiles) {
    test::TempDir dir;
    MacroRecord macro{"G-1", "Short \u00e9", {}, 4, {{"Dev", {{"c", "k"}}}}};
    macro.data.num = 1;
    macro.data.macVal[0] = 4;
    test::writeTextFile(dir / "list.json",
                        json{{"MacroInfo", {macrofile::macroToJson(macro)}}}.dump());
    const std::vector<MacroRecord> list = MacroStore::ReadMacroList(dir / "list.json");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, macro.name);
    EXPECT_EQ(list[0].guid, "G-1");
    EXPECT_EQ(list[0].data, macro.data);
    EXPECT_EQ(list[0].bindKeyCount, 0);
    EXPECT_TRUE(list[0].bindings.empty());

    test::writeTextFile(dir / "bad.json", R"({"MacroInfo": [{"MacroName": [1]}]})");
    test::DiagnosticCapture capture;
    EXPECT_TRUE(MacroStore::ReadMacroList(dir / "bad.json").empty());
    EXPECT_THAT(capture.debug(), HasSubstr("bad.json"));
    EXPECT_TRUE(MacroStore::ReadMacroList(dir / "missing.json").empty());
}

TEST(MacroGuidTest, GuidsAreUpperCaseHexInTheGuidLayoutAndDiffer) {
    const std::regex layout("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        const std::string guid = MacroStore::NewMacroGuid();
        EXPECT_TRUE(std::regex_match(guid, layout)) << guid;
        seen.insert(guid);
    }
    EXPECT_EQ(seen.size(), 100u);
}

} // namespace
} // namespace varnix
