// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/LedPanelRules.h"

#include "lighting/LedMode.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <set>

namespace varnix {
namespace {

using testing::UnorderedElementsAreArray;

const LedPanel& keyboardPanel() {
    static const LedPanel panel = *LedPanel::fromPrefix("KBLed");
    return panel;
}
const LedPanel& padPanel() {
    static const LedPanel panel = *LedPanel::fromPrefix("PadLed");
    return panel;
}

// The shown controls of a layout, named by what they are: "colours", "enables", "brightness",
// "speed", "symmetry", and the direction label and options by their suffix.
std::set<std::string> shownParts(const LedPanel& panel, const ModeLayout& layout) {
    std::set<std::string> parts;
    const std::string p = "_" + panel.prefix() + "_";
    for (const std::string& name : layout.controls.shown) {
        const std::string suffix = name.substr(name.find(p) + p.size());
        if (suffix.starts_with("ColVal"))
            parts.insert("colours");
        else if (suffix.starts_with("ColEn"))
            parts.insert("enables");
        else if (suffix.starts_with("Bright"))
            parts.insert("brightness");
        else if (suffix.starts_with("Speed"))
            parts.insert("speed");
        else if (suffix.starts_with("Symm") || suffix.starts_with("Symn"))
            parts.insert("symmetry");
        else
            parts.insert(suffix);
    }
    return parts;
}

struct ModeCase {
    int mode;
    std::set<std::string> keyboard;
    std::set<std::string> pad;
    const char* bar; // "" = derived from the colour type
};

const std::set<std::string> Two = {"DirtectText", "BackwardVal", "PositiveVal"};
std::set<std::string> with(std::set<std::string> a, const std::set<std::string>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

const std::vector<ModeCase>& modeCases() {
    static const std::vector<ModeCase> cases = {
        {0, {}, {}, "NullUI"},
        {1,
         {"colours", "enables", "brightness", "speed"},
         {"colours", "enables", "brightness", "speed"},
         ""},
        {2,
         {"colours", "enables", "brightness"},
         {"colours", "enables", "brightness", "speed"},
         "SelUI"},
        {3, {"brightness"}, {"brightness"}, "NullUI"},
        {4, {"brightness", "speed"}, {"brightness", "speed"}, "NullUI"},
        {5, with({"brightness", "speed", "symmetry"}, Two),
         with({"brightness", "speed", "symmetry"}, Two), "NullUI"},
        {6, with({"colours", "enables", "brightness", "speed", "symmetry", "TwowayVal"}, Two),
         with({"colours", "enables", "brightness", "speed", "symmetry", "TwowayVal"}, Two), ""},
        {7, with({"colours", "enables", "brightness", "speed", "symmetry", "TwowayVal"}, Two),
         with({"colours", "enables", "brightness", "speed", "symmetry", "TwowayVal"}, Two), ""},
        {8,
         with({"colours", "enables", "brightness", "speed", "symmetry", "TwowayVal", "CoverVal"},
              Two),
         with({"colours", "enables", "brightness", "speed", "symmetry", "TwowayVal", "CoverVal"},
              Two),
         ""},
        {9, {"colours", "brightness", "speed"}, {"colours", "brightness", "speed"}, "NullUI"},
        {10, with({"brightness", "speed", "symmetry"}, Two),
         with({"brightness", "speed", "symmetry"}, Two), "NullUI"},
        {11, {"brightness"}, {"brightness"}, "NullUI"},
    };
    return cases;
}

TEST(LedPanelRulesTest, EveryModeShowsItsControlsAndHidesTheRest) {
    for (const ModeCase& c : modeCases()) {
        for (const LedPanel* panel : {&keyboardPanel(), &padPanel()}) {
            const ModeLayout layout = modeLayout(*panel, c.mode, LedSingleColour);
            SCOPED_TRACE(panel->prefix() + " mode " + std::to_string(c.mode));
            EXPECT_TRUE(layout.known);
            EXPECT_EQ(shownParts(*panel, layout), panel->traits().speedInConstant ? c.pad : c.keyboard);
            // Every panel control is either shown or hidden, never both.
            EXPECT_EQ(layout.controls.shown.size() + layout.controls.hidden.size(),
                      7u + 7u + 3u + 3u + 2u + 5u);
            for (const std::string& name : layout.controls.shown)
                EXPECT_EQ(
                    std::count(layout.controls.hidden.begin(), layout.controls.hidden.end(), name),
                    0);
            if (c.mode != LedModeFlow) {
                EXPECT_THAT(layout.controls.hidden,
                            testing::Contains(panel->control("opt", "CoverVal")));
            }
            const ColourBarKind expectedBar =
                *c.bar ? *colourBarFromName(c.bar) : ColourBarKind::SigleUI;
            EXPECT_EQ(layout.colourBar, expectedBar);
            EXPECT_EQ(layout.directionGroup, panel->prefix() + "Dirtect");
        }
    }
}

TEST(LedPanelRulesTest, DerivedColourBarFollowsTheColourType) {
    for (int mode : {1, 6, 7, 8}) {
        EXPECT_EQ(modeLayout(keyboardPanel(), mode, 0).colourBar, ColourBarKind::SigleUI);
        EXPECT_EQ(modeLayout(keyboardPanel(), mode, 1).colourBar, ColourBarKind::CycleUI);
        EXPECT_EQ(modeLayout(keyboardPanel(), mode, 2).colourBar, std::nullopt);
    }
    EXPECT_EQ(modeLayout(keyboardPanel(), 2, 7).colourBar, ColourBarKind::SelUI);
}

TEST(LedPanelRulesTest, UnknownModeOnlyResetsTheDirection) {
    for (int mode : {-1, 12, 99}) {
        const ModeLayout layout = modeLayout(keyboardPanel(), mode, 0);
        EXPECT_FALSE(layout.known);
        EXPECT_TRUE(layout.controls.shown.empty());
        EXPECT_TRUE(layout.controls.hidden.empty());
        EXPECT_EQ(layout.colourBar, std::nullopt);
        EXPECT_EQ(layout.directionGroup, "KBLedDirtect");
    }
}

TEST(LedPanelRulesTest, WaveEnablesAllSlotsOnTheKeyboardButNotOnThePad) {
    LedEffect effect;
    effect.slots[2].enabled = 1;
    effect.direction = 2;
    LedEffect padEffect = effect;
    const ModeLayout keyboard = chooseMode(effect, keyboardPanel(), LedModeWave);
    EXPECT_TRUE(keyboard.checkAllEnables);
    EXPECT_EQ(effect.enabledMask(), 0x7F);
    EXPECT_EQ(effect.direction, 0);
    const ModeLayout pad = chooseMode(padEffect, padPanel(), LedModeWave);
    EXPECT_FALSE(pad.checkAllEnables);
    EXPECT_EQ(padEffect.enabledMask(), 0x04);
    EXPECT_EQ(padEffect.direction, 0);
    for (const ModeLayout* layout : {&keyboard, &pad})
        EXPECT_THAT(layout->controls.hidden, testing::Contains(testing::HasSubstr("_ColEn")));
}

TEST(LedPanelRulesTest, ModeChoiceByName) {
    LedEffect effect;
    effect.mode = LedModeNeon;
    effect.direction = 1;
    EXPECT_EQ(chooseModeByName(effect, keyboardPanel(), "Rainbow"), std::nullopt);
    EXPECT_EQ(effect.mode, LedModeNeon);
    EXPECT_EQ(effect.direction, 1);
    ASSERT_TRUE(chooseModeByName(effect, keyboardPanel(), "Partition"));
    EXPECT_EQ(effect.mode, LedModePartition);
    EXPECT_EQ(effect.direction, 0);
}

TEST(LedPanelRulesTest, ColourBarTable) {
    struct BarCase {
        ColourBarKind kind;
        bool pair;
        bool cycle;
        bool selectors;
    };
    for (const BarCase& c : {BarCase{ColourBarKind::SigleUI, true, true, true},
                             BarCase{ColourBarKind::CycleUI, true, true, false},
                             BarCase{ColourBarKind::SelUI, false, false, true},
                             BarCase{ColourBarKind::NullUI, false, false, false}}) {
        const ControlVisibility v = colourBarLayout(padPanel(), c.kind);
        auto shown = [&](const std::string& name) {
            return std::find(v.shown.begin(), v.shown.end(), name) != v.shown.end();
        };
        SCOPED_TRACE(std::string(colourBarName(c.kind)));
        EXPECT_EQ(shown("opt_PadLed_SigleCycleBar"), c.pair);
        EXPECT_EQ(shown("opt_PadLed_SigleColor"), c.pair);
        EXPECT_EQ(shown("opt_PadLed_CycleColor"), c.cycle);
        for (int i = 0; i < LedSlotCount; ++i)
            EXPECT_EQ(shown("opt_PadLed_ColSel" + std::to_string(i)), c.selectors);
        EXPECT_EQ(v.shown.size() + v.hidden.size(), 10u);
    }
    EXPECT_EQ(colourBarFromName("OtherUI"), std::nullopt);
}

TEST(LedPanelRulesTest, PanelNamesForEachPrefix) {
    EXPECT_EQ(LedPanel::fromPrefix("MouseLed")->directionGroup(), "MouseDirect");
    EXPECT_EQ(LedPanel::fromPrefix("PublicLed")->directionGroup(), "PublicLedDirtect");
    EXPECT_EQ(keyboardPanel().colourSelectGroup(), "KBLedColSel");
    EXPECT_EQ(keyboardPanel().colourTypeGroup(), "KBLedColType");
    EXPECT_EQ(keyboardPanel().modeList(), "btn_KBLed_LedMode");
    EXPECT_EQ(keyboardPanel().colourButton(3), "btn_KBLed_ColVal3");
    EXPECT_EQ(keyboardPanel().enableBox(0), "chk_KBLed_ColEn0");
    EXPECT_EQ(LedPanel::fromPrefix("KBled"), std::nullopt);
}

struct ToggleCase {
    const char* what;
    std::uint8_t enabledBefore; // mask
    int selected;
    int slot;
    bool kept;
    std::uint8_t enabledAfter;
    int selectedAfter;
};

TEST(LedPanelRulesTest, SlotToggleTable) {
    const ToggleCase cases[] = {
        {"unchecking the last enabled slot keeps it", 0x08, 3, 3, true, 0x08, 3},
        {"disabling the single colour moves it on", 0x0D, 2, 2, false, 0x09, 3},
        {"moving wraps from 6 to 0", 0x49, 6, 6, false, 0x09, 0},
        {"disabling another slot keeps the selection", 0x0D, 0, 2, false, 0x09, 0},
        {"enabling a slot", 0x01, 0, 5, false, 0x21, 0},
    };
    for (const ToggleCase& c : cases) {
        SCOPED_TRACE(c.what);
        LedEffect effect;
        for (int i = 0; i < LedSlotCount; ++i)
            effect.slots[static_cast<std::size_t>(i)].enabled = (c.enabledBefore >> i) & 1;
        effect.selectedSlot = c.selected;
        const bool boxChecked = ((c.enabledBefore >> c.slot) & 1) != 0;
        const SlotToggle result = toggleSlot(effect, c.slot, boxChecked);
        EXPECT_EQ(result.keptLastSlot, c.kept);
        EXPECT_EQ(effect.enabledMask(), c.enabledAfter);
        EXPECT_EQ(effect.selectedSlot, c.selectedAfter);
        EXPECT_EQ(result.movedSelection.has_value(), c.selected != c.selectedAfter);
        EXPECT_EQ(result.enabled, (c.enabledAfter >> c.slot) & 1);
    }
}

TEST(LedPanelRulesTest, SliderZeroBecomesOne) {
    EXPECT_EQ(sliderValue(0), 1);
    EXPECT_EQ(sliderValue(1), 1);
    EXPECT_EQ(sliderValue(5), 5);
}

} // namespace
} // namespace varnix
