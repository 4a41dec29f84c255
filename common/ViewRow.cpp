// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ViewRow.h"

#include "common/Diagnostics.h"

namespace varnix {

std::string viewColour(std::uint32_t argb) {
    return formatText("#%08X", argb);
}

} // namespace varnix
