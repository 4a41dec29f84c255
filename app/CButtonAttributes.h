// SPDX-License-Identifier: GPL-3.0-or-later
// Layout record of a button: pos, the three state images, visible.
#pragma once

#include "app/CControlAttributes.h"

namespace varnix {

class CButtonAttributes final : public CControlAttributes {
public:
    std::vector<AttributeAssignment> attributePairs(const SkinPaths& skins) const override;
    std::string_view kind() const override { return "button"; }
};

} // namespace varnix
