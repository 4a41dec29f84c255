// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/MouseImageBuilder.h"

#include "mouse/MouseMacroArea.h"

#include <algorithm>

namespace varnix {
namespace {

namespace mi = mouseimage;

constexpr std::uint8_t StillSpeedCode = 7;
constexpr std::array<std::uint8_t, 4> StillModes{2, 9, 12, 13};
constexpr std::uint8_t LastKnownMode = 13;

std::uint8_t bit(bool set, int position) {
    return set ? static_cast<std::uint8_t>(1u << position) : 0;
}

std::uint8_t component(const DeviceColour& colour, int channel) {
    switch (channel) {
    case 0:
        return colour.red & 0x0F;
    case 1:
        return colour.green & 0x0F;
    default:
        return colour.blue & 0x0F;
    }
}

// A key byte: the key type with the two per-key flags (bits 6 and 5), which the page never sets.
std::uint8_t keyByte(const MouseDeviceValues& values, int profile, int slot) {
    return values.keyTypes[static_cast<std::size_t>(profile)][static_cast<std::size_t>(slot)].type;
}

void addKeys(ParameterImage& image, int address, const MouseDeviceValues& values, int profile,
             int firstSlot, int count) {
    for (int i = 0; i < count; ++i)
        image.add(address + i, keyByte(values, profile, firstSlot + i));
}

} // namespace

std::uint8_t mouseLedModeByte(std::uint8_t mode, std::uint8_t speedCode) {
    const bool still = mode > LastKnownMode ||
                       std::find(StillModes.begin(), StillModes.end(), mode) != StillModes.end();
    const std::uint8_t speed = still ? StillSpeedCode : static_cast<std::uint8_t>(speedCode & 7);
    return static_cast<std::uint8_t>(bit((mode & 0x08) != 0, 7) | ((mode & 0x07) << 4) |
                                     bit(!still, 3) | speed);
}

void MouseImageBuilder::addHeader(ParameterImage& image, const MouseImageInput& input) {
    const MouseDeviceValues& v = input.values;
    const MouseFeatureProfile& f = input.feature;
    const bool x = input.extended;

    image.add(mi::Profile,
              static_cast<std::uint8_t>((v.profile & 3) * 32 + (x ? mi::ExtendedProfileBits : 0)));
    addKeys(image, mi::Profile0Keys, v, 0, 0, 9);
    image.add(mi::Reserved17, 0);
    image.add(mi::Reserved17 + 1, 0);

    std::uint8_t indexHighBits = 0;
    for (int n = 0; n < mousemodel::DpiLevelCount; ++n)
        indexHighBits |= bit((v.dpi[static_cast<std::size_t>(n)].index & 0x10) != 0, n);
    image.add(mi::DpiIndexHighBits, indexHighBits);
    image.add(mi::DpiLedType, static_cast<std::uint8_t>((f.DPI_K4K5DPI_LED_TYPE & 3) << 3));
    for (int pair = 0; pair < 3; ++pair) {
        const std::uint8_t first = v.dpi[static_cast<std::size_t>(2 * pair)].index & 0x0F;
        const std::uint8_t second = v.dpi[static_cast<std::size_t>(2 * pair + 1)].index & 0x0F;
        image.add(mi::DpiIndexes + pair, static_cast<std::uint8_t>(first << 4 | second));
    }
    std::uint8_t level = v.dpiLevel & 7;
    if (x)
        level |= bit(f.DPI_LHOLD_LED_ONOFF_EN != 0, 3) |
                 bit(f.DPI_K4K5DPI_LED_STYLE_CHG_EN != 0, 4) | bit(f.DPI_LHOLD_CFG_CHG_EN != 0, 5) |
                 bit(f.DPI_LHOLD_LED_MODE_CHG_EN != 0, 6);
    image.add(mi::DpiLevel, level);
    image.add(mi::DpiEnable, v.dpiEnableMask & 0x3F);
    const std::uint32_t fire = v.fire / mi::FireDivisor;
    image.add(mi::Fire, static_cast<std::uint8_t>(fire & 0xFF));
    image.add(mi::Fire + 1, static_cast<std::uint8_t>((fire >> 8) & 0xFF));
    image.add(mi::LedMode, mouseLedModeByte(v.ledMode, v.ledSpeedCode));
    image.add(mi::LedEnable, v.ledEnableMask & 0x7F);
    image.add(mi::Polling, v.pollingCode);
    image.add(mi::Reserved31, 0);

    for (int k = 0; k < mi::ColourComponents; ++k) {
        const auto slot = static_cast<std::size_t>(k / 3);
        std::uint8_t byte = component(v.dpi[slot].colour, k % 3);
        if (x)
            byte |= static_cast<std::uint8_t>(component(v.led[slot].colour, k % 3) << 4);
        image.add(mi::Colours + k, byte);
    }
    image.add(mi::DeviceFields50, 0);
    image.add(mi::DeviceFields50 + 1, 0);
    for (int a = mi::Reserved52; a < mi::DeviceFields58; ++a)
        image.add(a, 0);
    image.add(mi::DeviceFields58, 0);
    addKeys(image, mi::Profile0Keys9, v, 0, 9, 3);
    const DeviceColour& slot6 = v.led[6].colour;
    image.add(mi::LedSlot6RedGreen,
              x ? static_cast<std::uint8_t>(component(slot6, 0) << 4 | component(slot6, 1)) : 0);
    image.add(mi::LedSlot6Blue,
              x ? static_cast<std::uint8_t>((v.ledBrightnessCode & 7) << 4 | component(slot6, 2))
                : 0);
    image.add(mi::DeviceFields64, 0);
    addKeys(image, mi::Profile0Keys12, v, 0, 12, 2);
    image.add(mi::LedTypeFields,
              static_cast<std::uint8_t>((f.CFG_LED_TYPE & 3) << 6 | (f.BIG_MODE_SW_LOC & 3) << 4));
    addKeys(image, mi::Profile1Keys, v, 1, 0, 12);
    addKeys(image, mi::Profile2Keys, v, 2, 0, 12);
    addKeys(image, mi::SlotTwelveKeys, v, 1, 12, 2);
    addKeys(image, mi::SlotTwelveKeys + 2, v, 2, 12, 2);
    addKeys(image, mi::Profile3Keys, v, 3, 0, 12);
    addKeys(image, mi::Profile3Keys12, v, 3, 12, 2);
}

ParameterImage MouseImageBuilder::build(const MouseImageInput& input,
                                        std::vector<std::string>* warnings) {
    ParameterImage image;
    addHeader(image, input);
    std::vector<std::string> cut =
        MouseMacroArea::add(image, input.values, input.macros, input.shortcuts);
    if (warnings)
        *warnings = std::move(cut);
    return image;
}

std::vector<int> MouseImageBuilder::lightingAddresses() {
    std::vector<int> addresses{mi::LedMode, mi::LedEnable};
    for (int k = 0; k < mi::ColourComponents; ++k)
        addresses.push_back(mi::Colours + k);
    addresses.push_back(mi::LedSlot6RedGreen);
    addresses.push_back(mi::LedSlot6Blue);
    return addresses;
}

ParameterImage MouseImageBuilder::lightingImage(const ParameterImage& image) {
    ParameterImage lighting;
    for (const int address : lightingAddresses())
        if (const auto byte = image.at(address))
            lighting.add(address, *byte);
    return lighting;
}

} // namespace varnix
