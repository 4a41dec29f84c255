// SPDX-License-Identifier: GPL-3.0-or-later
// Feature profiles of mice, keyboards and pads: keys, defaults, conversions, model folders.
#include "device/DeviceRecord.h"
#include "device/KeyboardFeatureProfile.h"
#include "device/LightingFeature.h"
#include "device/ModelFolder.h"
#include "device/MouseFeatureProfile.h"
#include "device/PadFeatureProfile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace varnix {
namespace {

fs::path profileFixture(const std::string& name) {
    return test::testDataDir() / "profiles" / name;
}

TEST(KeyboardFeatureTest, EepCapGivesTheCapacityOrKeepsThePreviousOne) {
    struct Case {
        std::string text;
        int previous;
        int expected;
    };
    const Case cases[] = {
        {"0", 2047, 511},   {"1", 2047, 1023},  {"2", 2047, 2047},  {"3", 2047, 4095},
        {"4", 2047, 8191},  {"5", 2047, 16383}, {"9", 2047, 2047},  {"6", 4095, 4095},
        {"-1", 1023, 1023}, {"", 8191, 8191},   {"abc", 2047, 511}, // no number counts as 0
        {"3x", 2047, 4095},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyboardFeatureProfile::capacityFromEepCap(c.text, c.previous), c.expected)
            << '"' << c.text << '"';
}

TEST(KeyboardFeatureTest, ReadsConfigIniWithItsBuffers) {
    const auto read = [](const std::string& text) {
        return KeyboardFeatureProfile::fromIni(IniFile::fromText(text));
    };
    const KeyboardFeatureProfile full =
        read("[Config1]\nEEP_CAP=3\nWIN_LOCK_SAVE_EN=1\nFN_W_ENB=1\n[Init]\nRGBLED=GRB\n");
    EXPECT_EQ(full.EEP_CAP, "3");
    EXPECT_EQ(full.capacity, 4095);
    EXPECT_EQ(full.RGBLED, "GRB");
    EXPECT_EQ(full.WIN_LOCK_SAVE_EN, 1);
    EXPECT_EQ(full.FN_W_ENB, 1);

    EXPECT_EQ(read("[Config1]\nEEP_CAP=9\n").capacity, 2047);
    // The 4-character buffer holds three digits: "0003" reads as "000", code 0.
    EXPECT_EQ(read("[Config1]\nEEP_CAP=0003\n").capacity, 511);
    // RGBLED absent or empty gives "RGB"; the 7-character buffer keeps six letters.
    EXPECT_EQ(read("[Config1]\nEEP_CAP=3\n").RGBLED, "RGB");
    EXPECT_EQ(read("[Init]\nRGBLED=\n").RGBLED, "RGB");
    EXPECT_EQ(read("[Init]\nRGBLED=BGRBGRBGR\n").RGBLED, "BGRBGR");

    const KeyboardFeatureProfile missing =
        KeyboardFeatureProfile::read(profileFixture("no-such-model"), 1023);
    EXPECT_EQ(missing.capacity, 1023);
    EXPECT_EQ(missing.RGBLED, "RGB");
    EXPECT_EQ(missing.WIN_LOCK_SAVE_EN, 0);
}

TEST(MouseFeatureTest, LedTableTextsAreGroupsOfThreeDigits) {
    const LedTable row = MouseFeatureProfile::parseLedTable("255000128007");
    LedTable expected{};
    expected[0] = 255;
    expected[2] = 128;
    expected[3] = 7;
    EXPECT_EQ(row, expected);

    std::string full;
    for (int k = 0; k < 68; ++k)
        full += (k < 10 ? "00" : "0") + std::to_string(k);
    const LedTable all = MouseFeatureProfile::parseLedTable(full + "255"); // extra group ignored
    for (int k = 0; k < 68; ++k)
        EXPECT_EQ(all[k], k);

    EXPECT_EQ(MouseFeatureProfile::parseLedTable("999")[0], 255);
    EXPECT_EQ(MouseFeatureProfile::parseLedTable("00112")[1], 12); // a short last group
    EXPECT_EQ(MouseFeatureProfile::parseLedTable("x12abc")[0], 0);
    EXPECT_EQ(MouseFeatureProfile::parseLedTable(""), LedTable{});
}

TEST(MouseFeatureTest, ReadsEveryKeyOfTheFixture) {
    const MouseFeatureProfile profile = MouseFeatureProfile::read(profileFixture("mouse-full"));
    EXPECT_EQ(profile.keyMap, (std::array<int, 12>{1, 2, 3, 4, 5, 6, 9, 10, 0, 0, 0, 0}));
    EXPECT_EQ(profile.keyDefault, (std::array<int, 12>{1, 2, 3, 4, 5, 6, 11, 12, 0, 0, 0, 0}));
    EXPECT_EQ(profile.keyNum, 8);
    // Each "Config" key has its own value in the fixture: 101 + position in the table.
    int expected = 101;
    for (const auto& key : MouseFeatureProfile::configKeys()) {
        if (key.name == "STARTUP_LED_EN" || key.name == "CFG_LED_TYPE")
            continue;
        EXPECT_EQ(profile.*key.member, expected++) << key.name;
    }
    EXPECT_EQ(profile.STARTUP_LED_EN, 1);
    EXPECT_EQ(profile.CFG_LED_TYPE, 1);
    EXPECT_TRUE(profile.startupLedTableRead);
    EXPECT_EQ(profile.startupLedTable[0], 9);
    EXPECT_EQ(profile.startupLedTable[67], 99);
    // Row "1" holds 12 characters: 255, 000, 128, 007.
    LedTable row1{};
    row1[0] = 255;
    row1[2] = 128;
    row1[3] = 7;
    EXPECT_EQ(profile.profileLedTables[1], row1);
    EXPECT_EQ(profile.profileLedTables[0][0], 1);
    EXPECT_EQ(profile.profileLedTables[3][1], 4);
    EXPECT_TRUE(profile.longHoldSwitch());
}

TEST(MouseFeatureTest, StartupTableFollowsItsSwitches) {
    const std::string rows = "[CFG_LED]\n0=001\n3=033044\n";
    const auto read = [&](const std::string& config, const std::string& boot) {
        return MouseFeatureProfile::fromIni(IniFile::fromText(
            "[Config]\n" + config + "\n[BOOT_LED]\nLED_DATA=" + boot + "\n" + rows));
    };
    // Switched off and CFG_LED_TYPE 1: the start-up table is not read.
    const MouseFeatureProfile off = read("STARTUP_LED_EN=0\nCFG_LED_TYPE=1", "200");
    EXPECT_FALSE(off.startupLedTableRead);
    EXPECT_EQ(off.startupLedTable, LedTable{});
    // Switched on: read as written.
    EXPECT_EQ(read("STARTUP_LED_EN=1\nCFG_LED_TYPE=1", "200").startupLedTable[0], 200);
    // CFG_LED_TYPE 0 (also when absent) reads it as well.
    EXPECT_EQ(read("STARTUP_LED_EN=0\nCFG_LED_TYPE=0", "200").startupLedTable[0], 200);
    EXPECT_EQ(read("", "201").startupLedTable[0], 201);
    // Empty: a copy of this model's profile 3 table.
    const MouseFeatureProfile copy = read("STARTUP_LED_EN=1", "");
    EXPECT_TRUE(copy.startupLedTableRead);
    EXPECT_EQ(copy.startupLedTable, copy.profileLedTables[3]);
    EXPECT_EQ(copy.startupLedTable[1], 44);
}

TEST(MouseFeatureTest, LongHoldSwitchAndKeyMap) {
    for (const char* key :
         {"DPI_LHOLD_CFG_CHG_EN", "DPI_LHOLD_LED_MODE_CHG_EN", "DPI_LHOLD_LED_ONOFF_EN"}) {
        const auto profile = MouseFeatureProfile::fromIni(
            IniFile::fromText(std::string("[Config]\n") + key + "=1\n"));
        EXPECT_TRUE(profile.longHoldSwitch()) << key;
    }
    EXPECT_FALSE(
        MouseFeatureProfile::fromIni(IniFile::fromText("[Config]\nLED_NUM=4\n")).longHoldSwitch());

    // Codes listed twice (here the 0 of unused buttons) keep their first button; the old map
    // is cleared first.
    std::map<int, int> keyMap{{77, 3}};
    const bool longHold = readMouseLongHoldAndKeyMap(profileFixture("mouse-full"), keyMap);
    EXPECT_TRUE(longHold);
    EXPECT_EQ(keyMap,
              (std::map<int, int>{
                  {1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}, {9, 6}, {10, 7}, {0, 8}}));

    EXPECT_FALSE(readMouseLongHoldAndKeyMap(profileFixture("no-such-model"), keyMap));
    EXPECT_EQ(keyMap, (std::map<int, int>{{0, 0}}));
}

TEST(MouseFeatureTest, MissingFileGivesZeros) {
    const MouseFeatureProfile profile = MouseFeatureProfile::read(profileFixture("no-such-model"));
    EXPECT_EQ(profile.keyMap, (std::array<int, 12>{}));
    EXPECT_EQ(profile.keyNum, 0);
    EXPECT_EQ(profile.LED_NUM, 0);
    EXPECT_EQ(profile.profileLedTables[2], LedTable{});
    EXPECT_FALSE(profile.longHoldSwitch());
}

TEST(PadFeatureTest, BrightMaxDefaultsToSevenAndUsesItsBuffer) {
    struct Case {
        std::string text;
        int expected;
    };
    const Case cases[] = {
        {"[Set]\nBrightMax=5\n", 5},
        {"[Set]\nBrightMax=\n", 7},
        {"[Set]\n", 7},
        {"", 7},
        {"[Set]\nBrightMax=300\n", 255},
        {"[Set]\nBrightMax=abc\n", 0},
        {"[Set]\nBrightMax=000000000009\n", 0}, // 11 characters
    };
    for (const Case& c : cases)
        EXPECT_EQ(PadFeatureProfile::fromIni(IniFile::fromText(c.text)).brightMax, c.expected)
            << c.text;
    EXPECT_EQ(PadFeatureProfile::read(profileFixture("no-such-model")).brightMax, 7);
}

TEST(LightingFeatureTest, LedCountAndChannelOrderPerDeviceType) {
    test::TempDir dir;
    test::writeTextFile(dir / "mouse/Config/DeviceFeature.ini", "[Config]\nLED_NUM=6\n");
    test::writeTextFile(dir / "kb/Config/Config.ini",
                        "[Config1]\nHR_LED_NUM=104\n[Init]\nRGBLED=GRB\n");
    test::writeTextFile(dir / "pad/Config/Config.ini", "[Config1]\nHR_LED_NUM=\n");

    const LightingFeature mouse = LightingFeature::read(DevTypeMouse, dir / "mouse");
    EXPECT_EQ(mouse.ledCount, 6);
    EXPECT_EQ(mouse.channelOrder, "RGB");
    const LightingFeature keyboard = LightingFeature::read(DevTypeKeyboard, dir / "kb");
    EXPECT_EQ(keyboard.ledCount, 104);
    EXPECT_EQ(keyboard.channelOrder, "GRB");
    const LightingFeature pad = LightingFeature::read(DevTypePad, dir / "pad");
    EXPECT_EQ(pad.ledCount, 12);
    EXPECT_EQ(pad.channelOrder, "RGB");
    EXPECT_EQ(LightingFeature::read(DevTypeMouse, dir / "none").ledCount, 12);
}

TEST(ModelFolderTest, TypeFolderPlusDevFolder) {
    const fs::path root = "/r";
    EXPECT_EQ(modelResourceFolder(root, DevTypeMouse, "MouseA"), "/r/MouseKorv/MouseA");
    EXPECT_EQ(modelResourceFolder(root, DevTypeKeyboard, "KeyboardB"), "/r/KeyboardKorv/KeyboardB");
    EXPECT_EQ(modelResourceFolder(root, DevTypePad, "PadA"), "/r/PadKorv/PadA");
    EXPECT_EQ(modelResourceFolder(root, DevTypePad, ""), "/r/PadKorv");
    EXPECT_EQ(modelResourceFolder(root, DevTypeMouse, "Series\\M1"), "/r/MouseKorv/Series/M1");
    EXPECT_EQ(modelResourceFolder(root, 0, "MouseA"), fs::path());
    EXPECT_EQ(modelResourceFolder(root, 4, "MouseA"), fs::path());
    EXPECT_EQ(modelResourceFolder(root, DevTypeMouse, "../../etc"), fs::path());
    EXPECT_EQ(modelResourceFolder(root, DevTypeMouse, "/etc"), fs::path());
    EXPECT_EQ(modelResourceFolder(root, DevTypeMouse, "a\\..\\..\\x"), fs::path());
}

} // namespace
} // namespace varnix
