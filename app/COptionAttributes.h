// SPDX-License-Identifier: GPL-3.0-or-later
// Layout record of an option: pos, the three state images and "Selectedimage", visible.
#pragma once

#include "app/CControlAttributes.h"

namespace varnix {

class COptionAttributes final : public CControlAttributes {
public:
    std::vector<AttributeAssignment> attributePairs(const SkinPaths& skins) const override;
    std::string_view kind() const override { return "option"; }
};

} // namespace varnix
