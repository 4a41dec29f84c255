// SPDX-License-Identifier: GPL-3.0-or-later
// What the keyboard device object keeps between applies besides the page's model: the three
// settings carried to the next apply and the device values the page does not drive.
#pragma once

#include "macro/MacroBodyEncoder.h"

#include <array>
#include <cstdint>

namespace varnix {

struct KeyboardDeviceState {
    // X1, X2, X3 (settings A, B, C): 0 in a new device object.
    std::array<int, 3> settings{};
    // The three sets of twelve switches, bit i = switch i. The keyboard fill sets the whole
    // first set; the second and third are the 12-bit switch words 2 and 3.
    std::array<std::uint16_t, 3> switchSets{0x0FFF, 0, 0};
    // The device mode that renumbers the colour slot and enables every slot when 2.
    int specialMode = 0;
    // The two flags of the byte that reads 0x00, 0x0A, 0xA0 or 0xAA.
    bool flagX = false;
    bool flagY = false;
    // The two device fields X2 and X3 take after a write-out.
    int laterSettingB = 0;
    int laterSettingC = 0;
    MacroDeviceValues macroValues;

    // X1..X3 as the next build uses them: a setting still 0 becomes the position (1..12) of the
    // first set switch of its set, or stays 0 when none is set.
    std::array<int, 3> effectiveSettings() const;
    // After a complete write-out: X1 takes the lighting mode, X2 and X3 the later fields.
    void rememberWrite(int lightingMode);
};

} // namespace varnix
