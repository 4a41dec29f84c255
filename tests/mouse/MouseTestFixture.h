// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse fixture shared by the device value and image tests: a model with keys of every
// kind, its feature profiles and macros.
#pragma once

#include "common/IniFile.h"
#include "device/MouseFeatureProfile.h"
#include "mouse/MouseConfigFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace varnix::test {

// Keys 1 and 2 swapped on the device; six keys. LED_NUM decides the layout.
inline MouseFeatureProfile fixtureFeature(bool withLeds) {
    std::string text = "[KEYMAP]\nK1_MAP=2\nK2_MAP=1\nK3_MAP=3\nK4_MAP=4\nK5_MAP=5\nK6_MAP=6\n"
                       "KeyNum=6\n[Config]\nDPI_LHOLD_CFG_CHG_EN=1\nDPI_LHOLD_LED_ONOFF_EN=1\n"
                       "DPI_K4K5DPI_LED_TYPE=2\nCFG_LED_TYPE=1\nBIG_MODE_SW_LOC=3\n";
    text += withLeds ? "LED_NUM=4\n" : "LED_NUM=0\n";
    return MouseFeatureProfile::fromIni(IniFile::fromText(text));
}

inline MouseConfigModel fixtureModel(bool withLeds = true) {
    MouseConfigModel model;
    EXPECT_TRUE(MouseConfigFile::load(testDataDir() / "mouse/MouseConfig.json", model).ok());
    model.applyFeatureProfile(fixtureFeature(withLeds));
    return model;
}

// A macro: press and release of a key with the given delays.
inline MacroRecord keyMacro(const std::string& guid, std::uint8_t usage, std::uint8_t rptType,
                            std::uint16_t pressDelay = 100) {
    MacroRecord macro;
    macro.guid = guid;
    macro.name = guid;
    macro.data.rptType = rptType;
    macro.data.macRpt = 3;
    macro.data.num = 2;
    macro.data.macSta[0] = MacroStatusPress;
    macro.data.macVal[0] = usage;
    macro.data.macDly[0] = pressDelay;
    macro.data.macSta[1] = MacroStatusRelease;
    macro.data.macVal[1] = usage;
    macro.data.macDly[1] = 50;
    return macro;
}

// Group G1: M1 (until released), M2 (repeat count), EMPTY (nothing to play).
inline std::vector<MacroGroup> fixtureMacros() {
    MacroGroup group;
    group.guid = "G1";
    group.macros.push_back(keyMacro("M1", 4, MacroRepeatUntilRelease));
    group.macros.push_back(keyMacro("M2", 5, MacroRepeatCount, 1200));
    MacroRecord empty;
    empty.guid = "EMPTY";
    group.macros.push_back(empty);
    return {group};
}

inline std::vector<MacroRecord> fixtureShortcuts() {
    return {keyMacro("S0", 6, MacroRepeatCount), keyMacro("S1", 7, MacroRepeatUntilClick)};
}

} // namespace varnix::test
