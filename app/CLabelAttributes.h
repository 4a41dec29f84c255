// SPDX-License-Identifier: GPL-3.0-or-later
// Layout record of a label: pos, its background from the normal skin, visible.
#pragma once

#include "app/CControlAttributes.h"

namespace varnix {

class CLabelAttributes final : public CControlAttributes {
public:
    std::vector<AttributeAssignment> attributePairs(const SkinPaths& skins) const override;
    std::string_view kind() const override { return "label"; }
};

} // namespace varnix
