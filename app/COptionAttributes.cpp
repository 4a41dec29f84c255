// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/COptionAttributes.h"

namespace varnix {

std::vector<AttributeAssignment> COptionAttributes::attributePairs(const SkinPaths& skins) const {
    return stateImagePairs(skins, "Selectedimage", true);
}

} // namespace varnix
