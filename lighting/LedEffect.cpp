// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/LedEffect.h"

namespace varnix {

std::uint8_t LedEffect::enabledMask() const {
    std::uint8_t mask = 0;
    for (int i = 0; i < LedSlotCount; ++i)
        if (slots[static_cast<std::size_t>(i)].enabled != 0)
            mask = static_cast<std::uint8_t>(mask | (1u << i));
    return mask;
}

int LedEffect::firstEnabledSlot() const {
    for (int i = 0; i < LedSlotCount; ++i)
        if (slots[static_cast<std::size_t>(i)].enabled != 0)
            return i;
    return -1;
}

} // namespace varnix
