// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyboardConfig.h"

#include "KeyboardTestModel.h"
#include "keyboard/KeyboardKeyList.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

using nlohmann::json;
using test::TempDir;
namespace fs = std::filesystem;

json readJson(const fs::path& file) {
    return json::parse(test::readTextFile(file));
}
void writeJson(const fs::path& file, const json& document) {
    test::writeTextFile(file, document.dump(4));
}

class KeyboardConfigTest : public testing::Test {
protected:
    KeyboardConfigTest() : folder(test::copyShippedKeyboard(dir)) {}

    json userFile() const { return readJson(folder / "Config/KBconfig.json"); }
    void setUserFile(const json& document) const {
        writeJson(folder / "Config/KBconfig.json", document);
    }
    KeyboardConfig loaded() const {
        KeyboardConfig config;
        config.LoadKeyboardConfig(folder);
        return config;
    }

    TempDir dir;
    fs::path folder;
    test::DiagnosticCapture diagnostics;
};

TEST_F(KeyboardConfigTest, ShippedModelLoadsWhole) {
    const KeyboardConfig config = loaded();
    EXPECT_TRUE(config.loadErrors.empty()) << testing::PrintToString(config.loadErrors);
    EXPECT_EQ(config.keyTemplate.size(), KeyboardKeyCount + 1); // one extra key
    ASSERT_TRUE(config.extKeys.contains("btn_KBKey_Calc"));
    EXPECT_EQ(config.extKeys.at("btn_KBKey_Calc"), (ExtKey{"btn_KBKey_Calc", 300, 0xD9}));
    for (const BindingMap& profile : config.keys) {
        EXPECT_EQ(profile.size(), KeyboardKeyCount + 1);
        for (const auto& [name, binding] : profile)
            EXPECT_NE(binding.position, NoMatrixPosition) << name;
    }
    EXPECT_EQ(config.keys[0].at("btn_KBKey_Esc").position, "0_0");
    EXPECT_EQ(config.keys[2].at("btn_KBKey_Calc").position, "7_19");
    EXPECT_EQ(config.otherKeys[3].size(), 17u); // twelve Fn, two knob directions, three locks
    EXPECT_EQ(config.otherKeys[0].at("FN_F1").defaultCode, 0xCD);
    EXPECT_EQ(config.otherKeyTemplate.at("SCROLL1"), 1);
    EXPECT_EQ(config.otherKeyTemplate.at("btn_scr1"), 1);
    EXPECT_EQ(config.feature.capacity, 4095);
    EXPECT_EQ(config.feature.RGBLED, "GRB");
    EXPECT_EQ(config.lighting.mode, 10);
    EXPECT_EQ(config.macroSlotCodes.at(0), 165);
    EXPECT_EQ(config.macroSlotCodes.at(10), 175);
    EXPECT_EQ(config.macroSlotCodes.at(11), 184);
    EXPECT_EQ(config.macroSlotCodes.at(19), 192);
}

TEST_F(KeyboardConfigTest, KeyTemplateStartsUnassignedExceptSevenKeys) {
    test::writeTextFile(folder / "Config/KBconfig.json", "{}");
    const KeyboardConfig config = loaded();
    int assigned = 0;
    for (const auto& [name, binding] : config.keys[1])
        if (binding.code != UnassignedKeyCode) {
            ++assigned;
            EXPECT_THAT(name,
                        testing::AnyOf("btn_KBKey_A", "btn_KBKey_D", "btn_KBKey_E", "btn_KBKey_F",
                                       "btn_KBKey_G", "btn_KBKey_H", "btn_KBKey_I"));
            EXPECT_EQ(binding.code, binding.defaultCode);
        }
    EXPECT_EQ(assigned, 7);
    EXPECT_EQ(config.keys[0].at("btn_KBKey_Calc").defaultCode, 300);
}

TEST_F(KeyboardConfigTest, KeyWithoutMatrixPositionIsNull1) {
    // Take the light key (0xF0) out of the matrix.
    std::string ini = test::readTextFile(folder / "Config/KBconfig.ini");
    const std::string wired = "\n5_6=240\n";
    ASSERT_NE(ini.find(wired), std::string::npos);
    ini.replace(ini.find(wired), wired.size(), "\n");
    test::writeTextFile(folder / "Config/KBconfig.ini", ini);
    const KeyboardConfig config = loaded();
    for (const BindingMap& profile : config.keys)
        EXPECT_EQ(profile.at("btn_KBKey_Light").position, "Null1");
}

TEST_F(KeyboardConfigTest, PositionIsTheFirstMatchInTextOrder) {
    // The Esc code also wired at 1_19 and 0_0: "0_0" < "1_19" in text order, and "1_19" < "1_2".
    test::writeTextFile(folder / "Config/KBconfig.ini", "[KBconfig]\n1_2=41\n1_19=41\n0_5=4\n");
    const KeyboardConfig config = loaded();
    EXPECT_EQ(config.keys[0].at("btn_KBKey_Esc").position, "1_19");
    EXPECT_EQ(config.keys[0].at("btn_KBKey_A").position, "0_5");
    EXPECT_EQ(config.keys[0].at("btn_KBKey_B").position, "Null1");
    EXPECT_EQ(config.matrix.size(), 160u);
    EXPECT_EQ(config.matrix.at("7_7"), 0); // missing keys read as 0
}

TEST_F(KeyboardConfigTest, ReadingRulesOfTheUserFile) {
    json document = userFile();
    json& root = document["KBconfig"];
    root.erase("KBKeyMacro");
    root["KBKey"]["btn_KBKey_Esc"] = json::array({4, 5}); // two profiles only
    root["KBKey"]["btn_KBKey_Unknown"] = json::array({1, 1, 1, 1});
    root["KBKey"].erase("btn_KBKey_Tab"); // keeps the template value
    root["KBOtherKey"]["FN_F2"] = json::array({0xB0});
    root["KBOtherKey"]["NOT_A_SETTING"] = json::array({1});
    setUserFile(document);

    const KeyboardConfig config = loaded();
    EXPECT_TRUE(config.loadErrors.empty());
    EXPECT_EQ(config.keys[0].at("btn_KBKey_Esc").code, 4);
    EXPECT_EQ(config.keys[1].at("btn_KBKey_Esc").code, 5);
    EXPECT_EQ(config.keys[2].at("btn_KBKey_Esc").code, UnassignedKeyCode); // the template's
    EXPECT_EQ(config.keys[3].at("btn_KBKey_Esc").code, UnassignedKeyCode);
    EXPECT_FALSE(config.keys[0].contains("btn_KBKey_Unknown"));
    EXPECT_EQ(config.keys[0].at("btn_KBKey_Tab").code, UnassignedKeyCode);
    for (const BindingMap& profile : config.keys)
        for (const auto& [name, binding] : profile) {
            EXPECT_TRUE(binding.grpGuid.empty());
            EXPECT_TRUE(binding.macGuid.empty());
        }
    EXPECT_EQ(config.otherKeys[0].at("FN_F2").code, 0xB0);
    EXPECT_EQ(config.otherKeys[1].at("FN_F2").code, 0xC9);
    EXPECT_FALSE(config.otherKeys[0].contains("NOT_A_SETTING"));
}

TEST_F(KeyboardConfigTest, AFailingStepKeepsWhatWasReadBefore) {
    json document = userFile();
    document["KBconfig"]["KBKey"]["btn_KBKey_Esc"] = json::array({7, 7, 7, 7});
    document["KBconfig"]["KBOtherKey"]["FN_F1"] = json::array({"text"});
    document["KBconfig"]["KBled"]["issysmetry"] = 1;
    setUserFile(document);
    const KeyboardConfig config = loaded();
    EXPECT_EQ(config.keys[0].at("btn_KBKey_Esc").code, 7);
    EXPECT_EQ(config.otherKeys[0].at("FN_F1").code, 0xCD); // the whole step was dropped
    EXPECT_EQ(config.lighting, LedEffect{});
    ASSERT_EQ(config.loadErrors.size(), 2u);
    EXPECT_THAT(config.loadErrors[1], testing::HasSubstr("type must be boolean, but is number"));
    EXPECT_THAT(diagnostics.console(), testing::HasSubstr("type must be boolean"));
}

TEST_F(KeyboardConfigTest, MissingOrBrokenUserFileLeavesDefaults) {
    for (const char* contents : {"", "{ not json", "[1, 2]"}) {
        SCOPED_TRACE(contents);
        if (*contents)
            test::writeTextFile(folder / "Config/KBconfig.json", contents);
        else
            fs::remove(folder / "Config/KBconfig.json");
        const KeyboardConfig config = loaded();
        EXPECT_EQ(config.keys[0].at("btn_KBKey_Esc").code, UnassignedKeyCode);
        EXPECT_EQ(config.currentProfile, 0);
        EXPECT_FALSE(fs::exists(folder / "Config/KBconfig.json") && !*contents);
    }
}

TEST_F(KeyboardConfigTest, ProfileOutsideZeroToThreeIsRejected) {
    json document = userFile();
    document["KBconfig"]["KBmain"] = {{"ver", 9}, {"curporfile", 4}};
    setUserFile(document);
    const KeyboardConfig config = loaded();
    EXPECT_EQ(config.currentProfile, 0);
    EXPECT_EQ(config.version, 0);
    EXPECT_EQ(config.loadErrors.size(), 1u);
}

TEST_F(KeyboardConfigTest, EepCapOutsideTheTableKeepsThePreviousLimit) {
    KeyboardConfig config = loaded();
    EXPECT_EQ(config.feature.capacity, 4095);
    test::writeTextFile(folder / "Config/Config.ini", "[Config1]\nEEP_CAP=6\n");
    config.LoadKeyboardConfig(folder);
    EXPECT_EQ(config.feature.capacity, 4095);
    test::writeTextFile(folder / "Config/Config.ini", "[Config1]\nEEP_CAP=5\n");
    config.LoadKeyboardConfig(folder);
    EXPECT_EQ(config.feature.capacity, 0x3FFF);
}

TEST_F(KeyboardConfigTest, UsedMacroCodesHoldExactlyTheCodesTheKeysCarry) {
    json document = userFile();
    json& keys = document["KBconfig"]["KBKey"];
    keys["btn_KBKey_F1"] = json::array({165, 0x3A, 192, 0x3A});
    keys["btn_KBKey_F2"] = json::array({184, 0x3B, 192, 0x3B});
    keys["btn_KBKey_F3"] = json::array({176, 0x3C, 0x3C, 0x3C}); // between the two ranges
    setUserFile(document);
    const KeyboardConfig config = loaded();
    EXPECT_THAT(config.usedMacroCodes[0], testing::ElementsAre(165, 184));
    EXPECT_TRUE(config.usedMacroCodes[1].empty());
    EXPECT_THAT(config.usedMacroCodes[2], testing::ElementsAre(192));
    EXPECT_TRUE(config.usedMacroCodes[3].empty());
}

TEST_F(KeyboardConfigTest, TheTwentyFirstMacroGetsNoCode) {
    KeyboardConfig config = loaded();
    config.usedMacroCodes[1] = {166};
    EXPECT_EQ(config.takeFreeMacroCode(1), 165);
    EXPECT_EQ(config.takeFreeMacroCode(1), 167);
    while (config.usedMacroCodes[1].size() < 20)
        ASSERT_TRUE(config.takeFreeMacroCode(1));
    EXPECT_EQ(config.usedMacroCodes[1].back(), 192);
    EXPECT_EQ(config.takeFreeMacroCode(1), std::nullopt);
    EXPECT_EQ(config.usedMacroCodes[1].size(), 20u);
}

TEST_F(KeyboardConfigTest, SaveWritesWhatLoadReads) {
    KeyboardConfig config = loaded();
    config.keys[2]["btn_KBKey_Q"].code = 170;
    config.keys[2]["btn_KBKey_Q"].grpGuid = "G-1";
    config.keys[2]["btn_KBKey_Q"].macGuid = "M-1";
    config.otherKeys[3]["btn_KB_WinAppEn"].code = 1;
    config.currentProfile = 2;
    config.version = 7;
    config.lighting.slots[6] = {0, 0xFF123456u};
    ASSERT_TRUE(test::isOk(config.SaveKeyboardConfig(folder)));
    const std::string text = test::readTextFile(folder / "Config/KBconfig.json");
    EXPECT_NE(text.find("\n    \"KBconfig\": {\n        \"KBKey\": {"), std::string::npos);

    const KeyboardConfig reread = loaded();
    EXPECT_EQ(reread.keys, config.keys);
    EXPECT_EQ(reread.otherKeys[3].at("btn_KB_WinAppEn").code, 1);
    EXPECT_EQ(reread.currentProfile, 2);
    EXPECT_EQ(reread.version, 7);
    EXPECT_EQ(reread.lighting, config.lighting);
    EXPECT_THAT(reread.usedMacroCodes[2], testing::ElementsAre(170));
    // Nothing but the file itself is left in the folder.
    for (const auto& entry : fs::directory_iterator(folder / "Config"))
        EXPECT_THAT(entry.path().filename().string(), testing::Not(testing::HasSubstr("tmp")));
}

TEST_F(KeyboardConfigTest, ResetRestoresFactoryCodesAndLighting) {
    KeyboardConfig config = loaded();
    config.keys[1]["btn_KBKey_W"] = {"btn_KBKey_W", 0x1A, 166, "G", "M", "", "2_2"};
    config.usedMacroCodes[1] = {166};
    config.otherKeys[0]["FN_F5"].code = 0;
    config.otherKeys[0]["btn_KB_AltF4En"].code = 1;
    config.lighting.mode = 3;
    config.currentProfile = 3;
    ASSERT_TRUE(test::isOk(config.ResetKeyboardConfig(folder)));
    EXPECT_EQ(config.keys[1].at("btn_KBKey_W").code, 0x1A);
    EXPECT_TRUE(config.keys[1].at("btn_KBKey_W").grpGuid.empty());
    EXPECT_TRUE(config.usedMacroCodes[1].empty());
    EXPECT_EQ(config.otherKeys[0].at("FN_F5").code, 0xD6);
    EXPECT_EQ(config.otherKeys[0].at("btn_KB_AltF4En").code, 0);
    EXPECT_EQ(config.lighting.mode, 10);
    EXPECT_EQ(config.currentProfile, 0);
    EXPECT_EQ(loaded().keys[1].at("btn_KBKey_W").code, 0x1A);
}

TEST_F(KeyboardConfigTest, MarkChangedKeysNamesEveryBindingOfTheProfile) {
    KeyboardConfig config = loaded();
    config.keys[1]["btn_KBKey_Z"].code = 0x1A;
    config.otherKeys[1]["btn_KB_AllKeyEn"].code = 1;
    const std::map<std::string, bool> marks = config.MarkChangedKeys(1);
    EXPECT_EQ(marks.size(), KeyboardKeyCount + 1 + 17);
    std::vector<std::string> changed;
    for (const auto& [name, mark] : marks)
        if (mark)
            changed.push_back(name);
    EXPECT_THAT(changed, testing::ElementsAre("btn_KBKey_Z", "btn_KB_AllKeyEn"));
    EXPECT_TRUE(config.MarkChangedKeys(4).empty());
}

TEST_F(KeyboardConfigTest, OtherKeyTextsComeFromTheLookups) {
    KeyboardConfig config;
    config.texts.keyFunction = [](int code) { return "key " + std::to_string(code); };
    config.texts.scrollFunction = [](int code) { return "scroll " + std::to_string(code); };
    config.texts.lockSwitch = "Enable";
    config.LoadKeyboardConfig(folder);
    EXPECT_EQ(config.otherKeys[0].at("FN_F1").displayText, "key 205");
    EXPECT_EQ(config.otherKeys[0].at("btn_scr1").displayText, "scroll 1");
    EXPECT_EQ(config.otherKeys[0].at("btn_KB_AltF4En").displayText, "Enable");
}

} // namespace
} // namespace varnix
