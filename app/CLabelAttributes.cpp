// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CLabelAttributes.h"

namespace varnix {

std::vector<AttributeAssignment> CLabelAttributes::attributePairs(const SkinPaths& skins) const {
    std::vector<AttributeAssignment> pairs{pair("pos", posText(rect_))};
    if (skins.normal.empty())
        return pairs;
    pairs.push_back(pair("bkimage", imageText(skins.normal, rect_)));
    if (visibility_ != positionfile::VisNoChange)
        pairs.push_back(pair("visible", visibility_));
    return pairs;
}

} // namespace varnix
