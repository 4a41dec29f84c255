// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/PadImageBuilder.h"

#include "lighting/LedMode.h"
#include "lighting/PadLighting.h"

namespace varnix {
namespace {

namespace pi = padimage;

std::uint8_t nibble(std::uint32_t colour, int shift) {
    return static_cast<std::uint8_t>(15 - ((colour >> (shift + 4)) & 0x0F));
}

std::uint8_t byteOf(int high, int low) {
    return static_cast<std::uint8_t>((high & 0x0F) << 4 | (low & 0x0F));
}

} // namespace

void PadDeviceValues::fill(const LedEffect& effect) {
    mode = effect.mode;
    if (effect.mode == LedModeConstant || effect.colourType == LedSingleColour)
        colourIndex = effect.selectedSlot + 1;
    else if (effect.colourType == LedCycleColours)
        colourIndex = 0;
    enableMask = 0;
    for (std::size_t k = 0; k < slots.size(); ++k) {
        const ColourSlot& slot = effect.slots[k];
        slots[k] = {slot.enabled != 0, nibble(slot.colour, 16), nibble(slot.colour, 8),
                    nibble(slot.colour, 0)};
        if (slot.enabled != 0)
            enableMask |= static_cast<std::uint8_t>(1u << k);
    }
    speed = effect.speed;
    brightness = effect.brightness;
    symmetric = effect.symmetric;
    direction = effect.direction;
}

PadDeviceValues PadDeviceValues::fromLighting(const PadLighting& lighting) {
    PadDeviceValues values;
    values.fill(lighting.effect());
    return values;
}

ParameterImage PadImageBuilder::build(const PadDeviceValues& values) {
    ParameterImage image;
    // Green high nibbles: 0x5 for slots 0..2, the fixed values' top bits for 3..5, 0 for 6.
    const std::array<int, LedSlotCount> greenHigh{pi::FirstGreenHigh,
                                                  pi::FirstGreenHigh,
                                                  pi::FirstGreenHigh,
                                                  values.fixedValues[0] >> 8,
                                                  values.fixedValues[1] >> 8,
                                                  values.fixedValues[2] >> 8,
                                                  0};
    for (int k = 0; k < LedSlotCount; ++k) {
        const PadDeviceSlot& slot = values.slots[static_cast<std::size_t>(k)];
        image.add(pi::SlotRedBlue + 2 * k, byteOf(slot.red, slot.blue));
        image.add(pi::SlotGreen + 2 * k,
                  byteOf(greenHigh[static_cast<std::size_t>(k)], slot.green));
    }
    for (int a = pi::DeviceFields; a < pi::FixedLow1; ++a)
        image.add(a, 0);
    image.add(pi::FixedLow1, static_cast<std::uint8_t>(values.fixedValues[0] & 0xFF));
    image.add(pi::DeviceFlags, static_cast<std::uint8_t>((values.moreFlags[0] ? 0xA0 : 0) +
                                                         (values.moreFlags[1] ? 0x0A : 0)));
    image.add(pi::DeviceFields2, 0);
    image.add(pi::DeviceFields2 + 1, 0);
    image.add(pi::FixedLow2, static_cast<std::uint8_t>(values.fixedValues[1] & 0xFF));
    image.add(pi::Effect,
              static_cast<std::uint8_t>((values.direction & 3) << 6 |
                                        ((7 - values.brightness) & 7) << 3 | (values.speed & 7)));
    image.add(pi::Mode,
              static_cast<std::uint8_t>((values.symmetric ? 0x80 : 0) |
                                        (values.colourIndex & 7) << 4 | (values.mode & 0x0F)));
    image.add(pi::EnableMask, values.enableMask & 0x7F);
    return image;
}

} // namespace varnix
