// SPDX-License-Identifier: GPL-3.0-or-later
// Layout record of a slider: only its position is set; the thumb image is kept.
#pragma once

#include "app/CControlAttributes.h"

namespace varnix {

class SliderAttributes final : public CControlAttributes {
public:
    // Reads "ctrlname", "thumbimage" and "pos"; a "visible" member is ignored.
    void parse(const nlohmann::json& entry) override;
    const std::string& thumbImage() const { return thumbImage_; }
    std::vector<AttributeAssignment> attributePairs(const SkinPaths& skins) const override;
    std::string_view kind() const override { return "slider"; }

private:
    std::string thumbImage_;
};

} // namespace varnix
