// SPDX-License-Identifier: GPL-3.0-or-later
// The settings of one mouse: key bindings of four profiles, DPI levels, polling, lighting.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace varnix {

class MouseFeatureProfile;

namespace mousemodel {
inline constexpr int ProfileCount = 4;
inline constexpr int BindingCount = 13; // "btn_MouseKey_Click0" .. "btn_MouseKey_Click12"
inline constexpr int DpiLevelCount = 6;
inline constexpr int LedSlotCount = 7;
inline constexpr int FeatureKeyCount = 12; // keyMap / keyDefault entries
inline constexpr const char* BindingPrefix = "btn_MouseKey_Click";
inline constexpr const char* InitialText = "InitNull";
inline constexpr const char* UnknownKeyText = "Unknown Key";
inline constexpr const char* NullDpiText = "Null";
} // namespace mousemodel

struct MouseKeyBinding {
    std::string name;
    std::int32_t defaultCode = 0;
    std::int32_t code = 0;
    std::string text = mousemodel::InitialText;
    std::string macGuid;
    std::string grpGuid;

    // A key plays a macro when both GUIDs are set.
    bool boundToMacro() const { return !macGuid.empty() && !grpGuid.empty(); }
    bool operator==(const MouseKeyBinding&) const = default;
};

struct DpiLevel {
    std::int32_t enabled = 0;
    std::int32_t dpiIndex = 0;
    std::uint32_t colour = 0; // 0xAARRGGBB
    bool operator==(const DpiLevel&) const = default;
};

struct LedColourSlot {
    std::int32_t enabled = 0;
    std::uint32_t colour = 0; // 0xAARRGGBB
    bool operator==(const LedColourSlot&) const = default;
};

// The text of a DPI value index: "200" .. "12800" for 1..23, "Null" for anything else.
std::string dpiText(int index);

// Control name to binding, in name order ("...Click0", "...Click1", "...Click10", ...).
using MouseKeyProfile = std::map<std::string, MouseKeyBinding>;

class MouseConfigModel {
public:
    std::uint32_t ver = 0;
    std::uint32_t curporfile = 0;
    std::array<MouseKeyProfile, mousemodel::ProfileCount> profiles;
    std::vector<DpiLevel> dpiLevels;
    std::uint32_t firevalue = 0;
    std::uint32_t rateusbvalue = 0;
    std::uint32_t cruseldpi = 0;
    std::uint32_t curselmode = 0;
    std::uint32_t brightnessvalue = 0;
    std::uint32_t frequencyvalue = 0;
    bool issysmetry = false;
    std::uint32_t directionsel = 0;
    std::vector<LedColourSlot> ledColours;

    // From the model's DeviceFeature.ini.
    std::array<std::int32_t, mousemodel::FeatureKeyCount> keyMap{};
    std::array<std::int32_t, mousemodel::FeatureKeyCount> keyDefault{};
    std::int32_t keyNum = 0;

    // The 13 bindings with code 0, text "InitNull" and no macro.
    static MouseKeyProfile templateProfile();
    static std::string bindingName(int index);
    // The key index in a binding name ("btn_MouseKey_Click7" -> 7); -1 when there is none.
    static int bindingIndex(const std::string& name);

    // Takes keyMap, keyDefault and keyNum from a feature profile.
    void applyFeatureProfile(const MouseFeatureProfile& feature);

    // Sets every binding's text from `secondText` (the function table's second text of its
    // code) and its defaultCode from keyDefault. A key index without a keyDefault entry (key 12)
    // gets defaultCode 0.
    void refreshKeyTexts(const std::function<std::string(int code)>& secondText);

    // The binding of key `index` in profile `profile`, or null.
    const MouseKeyBinding* binding(int profile, int index) const;
    MouseKeyBinding* binding(int profile, int index);

    bool operator==(const MouseConfigModel&) const = default;
};

} // namespace varnix
