// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/LedMode.h"

namespace varnix {

std::optional<std::string_view> ledModeName(int code) {
    if (code < 0 || code >= LedModeCount)
        return std::nullopt;
    return LedModeNames[static_cast<std::size_t>(code)];
}

std::optional<int> ledModeFromName(std::string_view name) {
    for (int code = 0; code < LedModeCount; ++code)
        if (LedModeNames[static_cast<std::size_t>(code)] == name)
            return code;
    return std::nullopt;
}

} // namespace varnix
