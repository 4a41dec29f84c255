// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CButtonAttributes.h"

namespace varnix {

std::vector<AttributeAssignment> CButtonAttributes::attributePairs(const SkinPaths& skins) const {
    return stateImagePairs(skins, {}, true);
}

} // namespace varnix
