// SPDX-License-Identifier: GPL-3.0-or-later
// Layout record of a vertical option with its "switch", "value" and "color" sub-controls.
#pragma once

#include "app/CControlAttributes.h"

namespace varnix {

class VerExAuttributes final : public CControlAttributes {
public:
    std::vector<AttributeAssignment> attributePairs(const SkinPaths& skins) const override;
    std::string_view kind() const override { return "optver"; }
};

} // namespace varnix
