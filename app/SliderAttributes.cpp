// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SliderAttributes.h"

#include <nlohmann/json.hpp>

namespace varnix {

void SliderAttributes::parse(const nlohmann::json& entry) {
    try {
        readName(entry);
        thumbImage_ = entry.at(positionfile::ThumbImageKey).get<std::string>();
        readPos(entry);
    } catch (const nlohmann::json::exception& error) {
        reportParseError(error);
    }
}

std::vector<AttributeAssignment> SliderAttributes::attributePairs(const SkinPaths&) const {
    return {pair("pos", posText(rect_))};
}

} // namespace varnix
