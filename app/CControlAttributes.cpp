// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CControlAttributes.h"

#include "common/Diagnostics.h"
#include "common/JsonRead.h"

#include <algorithm>
#include <climits>
#include <nlohmann/json.hpp>

namespace varnix {
namespace {

int clampedSum(int origin, int extent) {
    return static_cast<int>(
        std::clamp<long long>(static_cast<long long>(origin) + extent, INT_MIN, INT_MAX));
}

} // namespace

void CControlAttributes::parse(const nlohmann::json& entry) {
    try {
        readName(entry);
        readVisibility(entry);
        readPos(entry);
    } catch (const nlohmann::json::exception& error) {
        reportParseError(error);
    }
}

void CControlAttributes::readName(const nlohmann::json& entry) {
    name_ = entry.at(positionfile::CtrlNameKey).get<std::string>();
}

void CControlAttributes::readVisibility(const nlohmann::json& entry) {
    if (entry.is_object() && entry.contains(positionfile::VisibleKey))
        visibility_ = entry.at(positionfile::VisibleKey).get<std::string>();
}

void CControlAttributes::readPos(const nlohmann::json& entry) {
    const nlohmann::json& pos = entry.at(positionfile::PosKey);
    const int x = jsonNumber<int>(pos.at(0));
    const int y = jsonNumber<int>(pos.at(1));
    const int width = jsonNumber<int>(pos.at(2));
    const int height = jsonNumber<int>(pos.at(3));
    rect_ = ControlRect{x, y, clampedSum(x, width), clampedSum(y, height)};
}

void CControlAttributes::reportParseError(const std::exception& error) {
    consoleOutput(std::string(error.what()) + "\n");
}

std::string CControlAttributes::posText(const ControlRect& rect) {
    return formatText(positionfile::PosFormat, rect.left, rect.top, rect.right, rect.bottom);
}

std::string CControlAttributes::imageText(const std::string& skin, const ControlRect& rect) {
    return formatText(positionfile::ImageFormat, skin.c_str(), rect.left, rect.top, rect.right,
                      rect.bottom);
}

AttributeAssignment CControlAttributes::pair(std::string attribute, std::string value) const {
    return AttributeAssignment{name_, {}, std::move(attribute), std::move(value)};
}

std::vector<AttributeAssignment>
CControlAttributes::stateImagePairs(const SkinPaths& skins, std::string_view selectedAttribute,
                                    bool withVisibility) const {
    std::vector<AttributeAssignment> pairs{pair("pos", posText(rect_))};
    if (skins.normal.empty())
        return pairs;
    pairs.push_back(pair("normalimage", imageText(skins.normal, rect_)));
    pairs.push_back(pair("hotimage", imageText(skins.hover, rect_)));
    pairs.push_back(pair("pushedimage", imageText(skins.pressed, rect_)));
    if (!selectedAttribute.empty())
        pairs.push_back(pair(std::string(selectedAttribute), imageText(skins.pressed, rect_)));
    if (withVisibility && visibility_ != positionfile::VisNoChange)
        pairs.push_back(pair("visible", visibility_));
    return pairs;
}

} // namespace varnix
