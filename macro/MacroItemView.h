// SPDX-License-Identifier: GPL-3.0-or-later
// One macro item as the editor list and the item popup exchange it.
#pragma once

#include <cstdint>
#include <string>

namespace varnix {

struct MacroItemView {
    std::uint32_t value = 0; // macVal
    std::string text;        // display text; for a pointer move it carries the distances
    std::int32_t status = 0; // macSta
    std::int32_t delay = 0;  // macDly in milliseconds
};

} // namespace varnix
