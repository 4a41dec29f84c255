// SPDX-License-Identifier: GPL-3.0-or-later
// The key function catalogue: ordinary keys from a layout, fixed rows, display names.
#include "mouse/KeyFunctionCatalogue.h"

#include "macro/KeyboardLayout.h"
#include "macro/XkbKeyboardLayout.h"

#include <gtest/gtest.h>
#include <set>

namespace varnix {
namespace {

class KeyFunctionCatalogueTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // A layout that does not compile stays null, and SetUp fails every test on it.
        auto us = XkbKeyboardLayout::fromNames("us");
        auto de = XkbKeyboardLayout::fromNames("de");
        us_ = us ? us->release() : nullptr;
        de_ = de ? de->release() : nullptr;
    }
    static void TearDownTestSuite() {
        delete us_;
        delete de_;
    }
    void SetUp() override {
        ASSERT_NE(us_, nullptr);
        ASSERT_NE(de_, nullptr);
    }
    KeyFunctionCatalogue builtUnder(const KeyboardLayout& layout) {
        KeyFunctionCatalogue catalogue;
        catalogue.rebuildCatalogue(layout);
        return catalogue;
    }
    static XkbKeyboardLayout* us_;
    static XkbKeyboardLayout* de_;
};
XkbKeyboardLayout* KeyFunctionCatalogueTest::us_ = nullptr;
XkbKeyboardLayout* KeyFunctionCatalogueTest::de_ = nullptr;

bool isOrdinaryCode(int code) {
    return (code >= 0x04 && code <= 0x65) || code == 0x85 || code == 0x87 ||
           (code >= 0xE0 && code <= 0xE7);
}

TEST_F(KeyFunctionCatalogueTest, OrdinaryKeysCarryTheLayoutsNames) {
    const KeyFunctionCatalogue catalogue = builtUnder(*us_);
    struct Row {
        int code;
        const char* name;
    };
    const Row rows[] = {
        {0x04, "A"},           {0x1C, "Y"},
        {0x1D, "Z"},           {0x1E, "1"},
        {0x28, "Enter"},       {0x29, "Escape"},
        {0x2A, "BackSpace"},   {0x2B, "Tab"},
        {0x2C, "Space"},       {0x33, ";"},
        {0x39, "Caps Lock"},   {0x3A, "F1"},
        {0x45, "F12"},         {0x46, "Print Screen"},
        {0x47, "Scroll Lock"}, {0x48, "Pause"},
        {0x4F, "\u2192"},      {0x53, "Num Lock"},
        {0x54, "/"},           {0x55, "Num *"},
        {0x58, "Num Enter"},   {0x5F, "Num 7"},
        {0x63, "Num ."},       {0x65, "App"},
        {0xE0, "L-Ctrl"},      {0xE1, "L-Shift"},
        {0xE2, "L-Alt"},       {0xE3, "L-Win"},
        {0xE4, "R-Ctrl"},      {0xE5, "R-Shift"},
        {0xE6, "R-Alt"},       {0xE7, "R-Win"},
    };
    for (const Row& row : rows) {
        auto it = catalogue.keyFunctions().find(row.code);
        ASSERT_NE(it, catalogue.keyFunctions().end()) << std::hex << row.code;
        EXPECT_EQ(it->second,
                  (KeyFunctionEntry{row.code, "Null", "ItemValue0x_", "Null", row.name}));
    }
    for (int code = 0x00; code <= 0x03; ++code)
        EXPECT_FALSE(catalogue.keyFunctions().contains(code)) << code;
    for (const auto& [code, entry] : catalogue.keyFunctions()) {
        EXPECT_EQ(entry.code, code);
        if (entry.symbol == "Null") {
            EXPECT_TRUE(isOrdinaryCode(code)) << std::hex << code;
        }
    }
}

TEST_F(KeyFunctionCatalogueTest, FixedRowsAreExactlyAsListed) {
    const KeyFunctionCatalogue catalogue = builtUnder(*us_);
    const KeyFunctionEntry expected[] = {
        {0xB0, "SYS_POWER", "ItemValue0xB0_SysPower", "SysPower", "Power"},
        {0xB3, "MACRO_BOSS", "ItemValue0xB3_BOSS", "BOSS", "BOSS"},
        {0xB4, "MACRO_EUROPE", "ItemValue0xB4_\xE2\x82\xAC", "\xE2\x82\xAC", "\xE2\x82\xAC"},
        {0xB5, "MACRO_RMB", "ItemValue0xB5_\xC2\xA5", "\xC2\xA5", "\xC2\xA5"},
        {0xB6, "MACRO_000", "ItemValue0xB6_000", "000", "Output '000'"},
        {0xB7, "MACRO_00", "ItemValue0xB7_00", "00", "Output  '00'"},
        {0xC9, "M_PLAY_PAUSE", "ItemValue0xC9_PlayPause", "播放/暂停", "Play/Pause"},
        {0xCC, "M_PRE_TRACK", "ItemValue0xCC_Next", "下一首", "Next Track"},
        {0xCD, "M_NEXT_TRACK", "ItemValue0xCD_Previous", "上一首", "Previous Track"},
        {0xD0, "M_WFORWARD", "ItemValue0xD0_WWWForward", "前进（网页）", "WWW Forward"},
        {0xD4, "M_WSEARCH", "ItemValue0xD4_WWWSearch", "搜索（网页）", "WWW Research"},
        {0xDA, "M_WEB", "ItemValue0xDA_WebBrowser", "浏览器", "Browser"},
        {0xE8, "KEY_CHG_COR", "ItemValue0xE8_lightColor", "灯光颜色切换", "Backlight Color Switch"},
        {0xE9, "KEY_CHG_MODE", "ItemValue0xE9_lightMode", "灯光模式切换", "Backlight Mode Switch"},
        {0xEA, "KEY_ADD_BRT", "ItemValue0xEA_BrightnessAdd", "灯光亮度+", "Brightness Up"},
        {0xED, "KEY_SUB_SPD", "ItemValue0xED_SpeedMin", "灯光速度-", "Speed Down"},
        {0xF0, "KEY_ON_OFF", "ItemValue0xF0_BacklightOnOff", "灯光开关", "Backlight On/Off"},
        {0xF1, "KEY_FN", "ItemValue0xF1_Fn", "Fn", "Fn"},
        {0xF3, "KEY_LOCK", "ItemValue0xF3_FullKeyLocked", "全键锁定", "Full-key Locked"},
        {0xFF, "KEY_NULL", "ItemValue0xFF_NoFunction", "", "No Function"},
    };
    for (const KeyFunctionEntry& entry : expected) {
        auto it = catalogue.keyFunctions().find(entry.code);
        ASSERT_NE(it, catalogue.keyFunctions().end()) << std::hex << entry.code;
        EXPECT_EQ(it->second, entry) << std::hex << entry.code;
    }

    std::set<int> functionCodes;
    std::set<std::string> functionItemValues;
    for (const auto& [code, entry] : catalogue.keyFunctions()) {
        if (entry.symbol == "Null")
            continue;
        functionCodes.insert(code);
        EXPECT_TRUE(functionItemValues.insert(entry.itemValue).second) << entry.itemValue;
        EXPECT_EQ(
            entry.itemValue.substr(0, 13), "ItemValue0x" +
                                               [&] {
                                                   char digits[3];
                                                   std::snprintf(digits, sizeof digits, "%02X",
                                                                 code);
                                                   return std::string(digits);
                                               }())
            << entry.itemValue;
    }
    std::set<int> expectedCodes;
    for (int code = 0xB0; code <= 0xB7; ++code)
        expectedCodes.insert(code);
    for (int code = 0xC9; code <= 0xDA; ++code)
        expectedCodes.insert(code);
    for (int code = 0xE8; code <= 0xED; ++code)
        expectedCodes.insert(code);
    expectedCodes.insert({0xF0, 0xF1, 0xF3, 0xFF});
    EXPECT_EQ(functionCodes, expectedCodes);
    for (int code : {0xB8, 0xC8, 0xDB, 0xDF, 0xEE, 0xEF, 0xF2, 0xF4, 0xFE})
        EXPECT_FALSE(catalogue.keyFunctions().contains(code)) << std::hex << code;
}

TEST_F(KeyFunctionCatalogueTest, ScrollFunctions) {
    const KeyFunctionCatalogue catalogue = builtUnder(*us_);
    EXPECT_EQ(catalogue.scrollFunctions().size(), 8u);
    EXPECT_EQ(catalogue.scrollFunctions().at(0x02),
              (KeyFunctionEntry{0x02, "SCR_WHL_P", "ItemValue0x_Up", "Roll_Up", "wheelup"}));
    const std::pair<int, const char*> names[] = {
        {0, "rollup"},       {1, "rolldn"},         {2, "wheelup"},     {3, "wheeldn"},
        {4, "Unknown Key"},  {5, "Unknown Key"},    {6, "Unknown Key"}, {7, "spdup"},
        {8, "spddn"},        {9, "brightup"},       {10, "brightdn"},   {11, "Unknown Key"},
        {-1, "Unknown Key"}, {0xFF, "Unknown Key"},
    };
    for (const auto& [code, name] : names)
        EXPECT_EQ(catalogue.scrollDisplayName(code), name) << code;
}

TEST_F(KeyFunctionCatalogueTest, KeyDisplayNameWithSubstitutions) {
    const KeyFunctionCatalogue catalogue = builtUnder(*us_);
    const std::vector<KeyCodeSubstitution> none;
    EXPECT_EQ(catalogue.keyDisplayName(0xFF, none), "No Function");
    EXPECT_EQ(catalogue.keyDisplayName(0xB8, none), "Unknown Key");
    EXPECT_EQ(catalogue.keyDisplayName(0x04, none), "A");
    EXPECT_EQ(catalogue.keyDisplayName(256, none), "Unknown Key");
    EXPECT_EQ(catalogue.keyDisplayName(-3, none), "Unknown Key");

    const std::vector<KeyCodeSubstitution> substitutions = {
        {300, 0x04}, {300, 0x05}, {301, 302}, {302, 0x06}, {0x29, 0x04}, {255, 0x04}, {303, 0xD6},
    };
    EXPECT_EQ(catalogue.keyDisplayName(300, substitutions), "A");           // first match wins
    EXPECT_EQ(catalogue.keyDisplayName(301, substitutions), "Unknown Key"); // no chains
    EXPECT_EQ(catalogue.keyDisplayName(302, substitutions), "C");
    EXPECT_EQ(catalogue.keyDisplayName(303, substitutions), "Mute");
    EXPECT_EQ(catalogue.keyDisplayName(0x29, substitutions), "Escape"); // below 256: never
    EXPECT_EQ(catalogue.keyDisplayName(255, substitutions), "No Function");
    EXPECT_EQ(catalogue.keyDisplayName(304, substitutions), "Unknown Key");
}

TEST_F(KeyFunctionCatalogueTest, EmptyUntilBuilt) {
    const KeyFunctionCatalogue catalogue;
    EXPECT_TRUE(catalogue.keyFunctions().empty());
    EXPECT_EQ(catalogue.keyDisplayName(0xFF, {}), "Unknown Key");
    EXPECT_EQ(catalogue.scrollDisplayName(7), "Unknown Key");
}

TEST_F(KeyFunctionCatalogueTest, RebuildingUnderAnotherLayoutChangesOnlyCharacterKeys) {
    const KeyFunctionCatalogue us = builtUnder(*us_);
    KeyFunctionCatalogue catalogue = builtUnder(*us_);
    catalogue.rebuildCatalogue(*us_);
    EXPECT_EQ(catalogue.keyFunctions(), us.keyFunctions()); // twice is the same as once
    EXPECT_EQ(catalogue.scrollFunctions(), us.scrollFunctions());

    catalogue.rebuildCatalogue(*de_);
    EXPECT_EQ(catalogue.keyFunctions().at(0x1C).displayText, "Z");
    EXPECT_EQ(catalogue.keyFunctions().at(0x1D).displayText, "Y");
    EXPECT_EQ(catalogue.keyFunctions().at(0x2F).displayText, "\u00DC");
    int changed = 0;
    for (const auto& [code, entry] : us.keyFunctions()) {
        auto it = catalogue.keyFunctions().find(code);
        ASSERT_NE(it, catalogue.keyFunctions().end()) << std::hex << code;
        if (it->second == entry)
            continue;
        ++changed;
        EXPECT_EQ(entry.symbol, "Null") << std::hex << code;
        EXPECT_EQ(it->second.symbol, "Null");
        EXPECT_EQ(it->second.itemValue, entry.itemValue);
    }
    EXPECT_GT(changed, 5);
    EXPECT_EQ(catalogue.keyFunctions().size(), us.keyFunctions().size());

    catalogue.rebuildCatalogue(*us_);
    EXPECT_EQ(catalogue.keyFunctions(), us.keyFunctions());
}

TEST_F(KeyFunctionCatalogueTest, DefaultRebuildFollowsTheActiveLayout) {
    auto de = XkbKeyboardLayout::fromNames("de");
    ASSERT_TRUE(de) << de.outcome().detail;
    setActiveKeyboardLayout(std::move(*de));
    KeyFunctionCatalogue catalogue;
    catalogue.rebuildCatalogue();
    EXPECT_EQ(catalogue.keyDisplayName(0x1C, {}), "Z");
    setActiveKeyboardLayout(nullptr);
}

} // namespace
} // namespace varnix
