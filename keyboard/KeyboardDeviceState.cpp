// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyboardDeviceState.h"

#include "keyboard/KeyboardImageLayout.h"

namespace varnix {

std::array<int, 3> KeyboardDeviceState::effectiveSettings() const {
    std::array<int, 3> result = settings;
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (result[i] != 0)
            continue;
        for (int bit = 0; bit < kbimage::SwitchCount; ++bit)
            if ((switchSets[i] >> bit) & 1u) {
                result[i] = bit + 1;
                break;
            }
    }
    return result;
}

void KeyboardDeviceState::rememberWrite(int lightingMode) {
    settings = {lightingMode, laterSettingB, laterSettingC};
}

} // namespace varnix
