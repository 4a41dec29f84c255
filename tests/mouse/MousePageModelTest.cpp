// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse page's rules on a copy of a shipped mouse: DPI levels, colour slots, the key that
// must keep the left click, the key popup's tabs and use counts, device reports, macro keys.
#include "mouse/MousePageModel.h"

#include "mouse/MouseConfigFile.h"
#include "tests/mouse/MouseTestFixture.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace varnix::test {
namespace {

namespace fs = std::filesystem;

bool hasRow(const ViewRows& rows, const std::string& control, const std::string& attribute,
            const std::string& value) {
    return std::find(rows.begin(), rows.end(), ViewRow{control, attribute, value}) != rows.end();
}

class MousePageModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(sourceResDir() / "MouseKorv", dir.path() / "MouseKorv",
                 fs::copy_options::recursive);
        ASSERT_TRUE(page.loadFunctionTable(dir.path()).ok());
        ASSERT_TRUE(page.load(folder(), "Tavro_Quenra-Rum1", fixtureMacros()).ok());
    }
    fs::path folder() const { return dir.path() / "MouseKorv/MouseA"; }
    MouseConfigModel& model() { return page.model(); }
    void enableLevels(std::initializer_list<int> on) {
        for (int n = 0; n < mousemodel::DpiLevelCount; ++n)
            model().dpiLevels[std::size_t(n)].enabled =
                std::find(on.begin(), on.end(), n) != on.end() ? 1 : 0;
    }
    MouseKeyBinding& key(int k) { return *model().binding(page.currentProfile(), k); }

    TempDir dir;
    MousePageModel page;
};

TEST_F(MousePageModelTest, DpiLevelSwitchKeepsOneLevelAndMovesTheCurrentOne) {
    struct Case {
        const char* what;
        std::initializer_list<int> enabled;
        int current;
        int box;
        bool checked;
        int enabledAfter; // of the box's level
        int currentAfter;
    };
    const Case cases[] = {
        {"the only level stays on", {2}, 2, 2, false, 1, 2},
        {"current 5 off with 0 and 3 on wraps to 0", {0, 3, 5}, 5, 5, false, 0, 0},
        {"current 1 off goes to the next on", {1, 2, 4}, 1, 1, false, 0, 2},
        {"another level off keeps the current", {0, 3}, 0, 3, false, 0, 0},
        {"a level on", {0}, 0, 4, true, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        enableLevels(c.enabled);
        model().cruseldpi = std::uint32_t(c.current);
        const ViewRows rows = page.setDpiLevelEnabled(c.box, c.checked);
        EXPECT_EQ(model().dpiLevels[std::size_t(c.box)].enabled, c.enabledAfter);
        EXPECT_EQ(int(model().cruseldpi), c.currentAfter);
        const std::string box = "chk_MouseAdv_PDIEn" + std::to_string(c.box);
        if (c.enabledAfter == 1 && !c.checked) {
            EXPECT_TRUE(hasRow(rows, box, "selected", "true")); // ticked again
        }
        if (c.currentAfter != c.current) {
            EXPECT_TRUE(hasRow(rows, "chk_MouseAdv_SelDPI" + std::to_string(c.currentAfter),
                               "selected", "true"));
        }
    }
}

TEST_F(MousePageModelTest, ColourSlotsKeepOneAndModeElevenEnablesEveryButton) {
    LedEffect effect = page.panel().effect();
    for (auto& slot : effect.slots)
        slot.enabled = 0;
    effect.slots[3].enabled = 1;
    effect.mode = 1;
    page.panel().show(effect);
    // Unticking the last slot leaves it on.
    page.panel().setSlotEnabled(3, false);
    EXPECT_EQ(page.panel().effect().slots[3].enabled, 1);

    ViewRows rows = mouseLedModeRows(page.panel().effect());
    EXPECT_TRUE(hasRow(rows, "btn_MouseLed_ColVal0", "enabled", "false"));
    EXPECT_TRUE(hasRow(rows, "chk_MouseLed_ColEn0", "enabled", "true"));
    effect = page.panel().effect();
    effect.mode = 11;
    page.panel().show(effect);
    rows = page.ledRows();
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const std::string n = std::to_string(i);
        EXPECT_TRUE(hasRow(rows, "btn_MouseLed_ColVal" + n, "enabled", "true"));
        EXPECT_TRUE(hasRow(rows, "chk_MouseLed_ColEn" + n, "selected", "true"));
        EXPECT_TRUE(hasRow(rows, "chk_MouseLed_ColEn" + n, "enabled", "false"));
    }
    // The mouse's own table: mode 2 shows the brightness alone, mode 3 everything.
    effect.mode = 2;
    rows = mouseLedModeRows(effect);
    EXPECT_TRUE(hasRow(rows, "slider_MouseLed_BrightVal", "visible", "true"));
    EXPECT_TRUE(hasRow(rows, "slider_MouseLed_SpeedVal", "visible", "false"));
    EXPECT_TRUE(hasRow(rows, "btn_MouseLed_ColVal0", "visible", "false"));
    effect.mode = 3;
    EXPECT_TRUE(hasRow(mouseLedModeRows(effect), "opt_MouseLed_CoverVal", "visible", "true"));
    effect.mode = 14;
    EXPECT_TRUE(mouseLedModeRows(effect).empty());
}

TEST_F(MousePageModelTest, TheOnlyLeftClickKeyCannotBeChanged) {
    for (int k = 0; k < mousemodel::BindingCount; ++k)
        key(k).code = 2;
    key(0).code = 1;
    const Outcome refused = page.canChangeKey(0);
    EXPECT_EQ(refused.status, Status::Refused);
    EXPECT_EQ(refused.messageKey, "OnlyOneKey");
    EXPECT_EQ(refused.titleKey, "Tip");
    EXPECT_TRUE(page.canChangeKey(1).ok());
    key(4).code = 1;
    EXPECT_TRUE(page.canChangeKey(0).ok());
}

TEST(MouseKeySelectionTest, EachCodeOpensOnItsTab) {
    struct Case {
        int code;
        int tab;
    };
    const Case cases[] = {{0, 0},  {1, 0},  {5, 0},  {8, 0},  {9, 0},  {10, 0}, {27, 0}, {7, 1},
                          {40, 1}, {47, 1}, {48, 0}, {50, 2}, {77, 2}, {29, 3}, {39, 3}, {6, 4},
                          {11, 4}, {12, 4}, {23, 5}, {26, 5}, {22, 0}, {16, 6}, {21, 6}, {17, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(keyTabForCode(c.code), c.tab);
    }
    EXPECT_EQ(keyItemName(7), "KeyItem__07");
    EXPECT_EQ(codeOfKeyItem("KeyItem__07"), 7);
    EXPECT_EQ(codeOfKeyItem("KeyItem__38_Calc"), 38);
    EXPECT_EQ(codeOfKeyItem("KeyItem__x1"), std::nullopt);
    EXPECT_EQ(codeOfKeyItem("Short"), std::nullopt);
}

TEST_F(MousePageModelTest, UseCountsFollowTheKeysMacro) {
    auto& macros = page.macros();
    macros[0].macros[0].bindKeyCount = 1; // M1 plays on key 3 already
    key(3).code = 50;
    key(3).grpGuid = "G1";
    key(3).macGuid = "M1";

    // The same macro again: unchanged.
    KeyOpening opening = page.openKey(3);
    EXPECT_TRUE(opening.macroMode);
    EXPECT_EQ(opening.tab, mousekeysel::TabMacro);
    EXPECT_EQ(opening.macroIndex, 0);
    page.assignKey(opening, MouseKeyChoice::macro(0, 0));
    EXPECT_EQ(macros[0].macros[0].bindKeyCount, 1);

    // Another macro: the old one loses, the new one gains.
    page.assignKey(page.openKey(3), MouseKeyChoice::macro(0, 1));
    EXPECT_EQ(macros[0].macros[0].bindKeyCount, 0);
    EXPECT_EQ(macros[0].macros[1].bindKeyCount, 1);
    EXPECT_EQ(key(3).text, "M:M2");
    EXPECT_EQ(key(3).macGuid, "M2");

    // A media function over the macro lowers its count, never below 0.
    macros[0].macros[1].bindKeyCount = 0;
    const KeyAssignment media = page.assignKey(page.openKey(3), MouseKeyChoice::listItem(3, 36));
    EXPECT_TRUE(media.changed);
    EXPECT_EQ(macros[0].macros[1].bindKeyCount, 0);
    EXPECT_EQ(key(3).code, 36);
    EXPECT_EQ(key(3).text, "Mute");
    EXPECT_TRUE(key(3).grpGuid.empty() && key(3).macGuid.empty());

    // A key without a macro that gets one counts it once.
    page.assignKey(page.openKey(4), MouseKeyChoice::macro(0, 2));
    EXPECT_EQ(macros[0].macros[2].bindKeyCount, 1);
    // The macro tab without a chosen macro changes nothing.
    const KeyAssignment nothing = page.assignKey(page.openKey(5), MouseKeyChoice::macro(0, -1));
    EXPECT_TRUE(nothing.outcome.ok());
    EXPECT_FALSE(nothing.changed);
    // No binding for the key: refused with the popup's message.
    const KeyAssignment none = page.assignKey(page.openKey(40), MouseKeyChoice::listItem(0, 2));
    EXPECT_EQ(none.outcome.messageKey, mousekeysel::NoBindingText);
}

TEST_F(MousePageModelTest, DeviceReportsSelectLevelAndProfile) {
    enableLevels({0, 1, 2, 3, 4, 5});
    // The DPI level is the low byte; the key sits above it.
    page.showDpiFromDevice(0x0503);
    EXPECT_EQ(model().cruseldpi, 3u);
    const ViewRows rows = page.showDpiFromDevice(0x0104);
    EXPECT_EQ(model().cruseldpi, 4u);
    const std::string value = dpiText(model().dpiLevels[4].dpiIndex);
    EXPECT_TRUE(hasRow(rows, "lab_MouseAdv_DpiSliderValue", "text", value));
    // The profile is taken modulo 4.
    page.showProfileFromDevice(0x0206);
    EXPECT_EQ(page.currentProfile(), 2);
    EXPECT_TRUE(hasRow(page.profileRows(), "btn_Mouse_SelProfile", "selecteditem", "Profile3"));
    // The DPI notice only for a key that switches DPI levels.
    key(5).code = 6;
    key(1).code = 2;
    const std::optional<DpiPushInfo> push = page.dpiPushFor(0x0502, "Rum1");
    ASSERT_TRUE(push);
    EXPECT_EQ(push->level, 3);
    EXPECT_EQ(push->deviceName, "Rum1");
    EXPECT_EQ(push->sliderValue, model().dpiLevels[2].dpiIndex);
    EXPECT_FALSE(page.dpiPushFor(0x0102, "Rum1"));
}

TEST_F(MousePageModelTest, MacroKeysShowTheMacroOrGoBackToTheirFactoryFunction) {
    MouseConfigModel saved = page.config();
    auto& keys = saved.profiles[0];
    keys["btn_MouseKey_Click2"].code = 50;
    keys["btn_MouseKey_Click2"].grpGuid = "G1";
    keys["btn_MouseKey_Click2"].macGuid = "M2";
    keys["btn_MouseKey_Click3"].code = 50;
    keys["btn_MouseKey_Click3"].grpGuid = "G1";
    keys["btn_MouseKey_Click3"].macGuid = "GONE";
    saved.curporfile = 0;
    ASSERT_TRUE(MouseConfigFile::save(MouseConfigFile::configPath(folder()), saved).ok());
    ASSERT_TRUE(page.reload().ok());
    EXPECT_EQ(key(2).text, "M:M2");
    EXPECT_EQ(key(3).code, key(3).defaultCode);
    EXPECT_EQ(key(3).text, page.functionTable().secondText(key(3).defaultCode));
    EXPECT_TRUE(key(3).macGuid.empty());

    // The usage records name the profile and the key's factory function.
    ASSERT_TRUE(page.save().ok());
    const auto& bindings = page.macros()[0].macros[1].bindings;
    ASSERT_EQ(bindings.count("Tavro_Quenra-Rum1"), 1u);
    const auto& records = bindings.at("Tavro_Quenra-Rum1");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].first, "MouseProfile1");
    EXPECT_EQ(records[0].second, page.functionTable().secondText(key(2).defaultCode));
    EXPECT_EQ(page.macros()[0].macros[0].bindings.count("Tavro_Quenra-Rum1"), 0u);
}

TEST_F(MousePageModelTest, DpiValueIsKeptInTheSliderRange) {
    model().cruseldpi = 1;
    ViewRows rows = page.setDpiValue(40);
    EXPECT_EQ(model().dpiLevels[1].dpiIndex, mousepage::LastDpiValue);
    EXPECT_TRUE(hasRow(rows, "btn_MouseAdv_DpiSlider", "value", "23"));
    rows = page.setDpiValue(8);
    EXPECT_TRUE(hasRow(rows, "chk_MouseAdv_SelDPI1", "text", dpiText(8)));
    EXPECT_EQ(page.config().dpiLevels[1].dpiIndex, 8);
}

} // namespace
} // namespace varnix::test
