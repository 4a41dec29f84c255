// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/VerExAuttributes.h"

#include "common/Diagnostics.h"

namespace varnix {
namespace {

// The fixed sub-controls inside a vertical option and the region of the switch image.
constexpr const char* SwitchChild = "switch";
constexpr const char* SwitchPos = "34,9,67,15";
constexpr const char* SwitchImageFormat = "file='%s' source='222,47,255,53'";
constexpr const char* ValueChild = "value";
constexpr const char* ValuePos = "0,40,40,70";
constexpr const char* ColorChild = "color";
constexpr const char* ColorPos = "0,80,40,90";

} // namespace

std::vector<AttributeAssignment> VerExAuttributes::attributePairs(const SkinPaths& skins) const {
    std::vector<AttributeAssignment> pairs = stateImagePairs(skins, "selectedimage", false);
    if (skins.normal.empty())
        return pairs;
    auto child = [&](const char* childName, const char* attribute, std::string value) {
        pairs.push_back(AttributeAssignment{name_, childName, attribute, std::move(value)});
    };
    child(SwitchChild, "pos", SwitchPos);
    child(SwitchChild, "normalimage", formatText(SwitchImageFormat, skins.normal.c_str()));
    child(SwitchChild, "hotimage", formatText(SwitchImageFormat, skins.hover.c_str()));
    child(SwitchChild, "pushedimage", formatText(SwitchImageFormat, skins.pressed.c_str()));
    child(SwitchChild, "selectedimage", formatText(SwitchImageFormat, skins.pressed.c_str()));
    child(ValueChild, "pos", ValuePos);
    child(ColorChild, "pos", ColorPos);
    return pairs;
}

} // namespace varnix
