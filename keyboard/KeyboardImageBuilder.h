// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the keyboard parameter block of the current profile: header with the lighting, key
// matrix, Fn table, macro directory and macro bodies. Pure: model in, image out.
#pragma once

#include "common/Outcome.h"
#include "device/ParameterImage.h"
#include "keyboard/KeyboardConfig.h"
#include "keyboard/KeyboardDeviceState.h"
#include "macro/MacroGroup.h"

#include <array>
#include <string>
#include <vector>

namespace varnix {

struct KeyboardMacroSlot {
    const MacroRecord* macro = nullptr; // none: an empty slot
    int address = 0;
    int entryCount = 0;
    int size = 0;
};

struct KeyboardImage {
    ParameterImage image;
    std::array<KeyboardMacroSlot, MacroSlotCodeCount> slots{};
};

// The three 4-bit channel values of every slot in the device's channel order.
struct ColourPlanes {
    std::array<std::uint8_t, LedSlotCount> first{};
    std::array<std::uint8_t, LedSlotCount> second{};
    std::array<std::uint8_t, LedSlotCount> third{};
};

class KeyboardImageBuilder {
public:
    KeyboardImageBuilder(const KeyboardConfig& config, const std::vector<MacroGroup>& macroGroups,
                         const KeyboardDeviceState& device);

    // The block at base; refused as too large ("maxDataWarn") when a macro body would reach
    // 0x4000.
    Expected<KeyboardImage> build(int base) const;

    // 15 minus the top four bits of each channel, ordered by the "RGBLED" letters.
    static ColourPlanes colourPlanes(const LedEffect& effect, const std::string& channelOrder);
    // The slot number of the mode byte, after the device's adjustments.
    static int slotNumber(const LedEffect& effect, int specialMode);
    // Direction with 0 and 1 exchanged.
    static int deviceDirection(int direction);
    // The byte the key matrix holds for one binding.
    std::uint8_t matrixCode(const KeyBinding& binding) const;
    // The macro a binding plays, or none when it has no macro with items.
    const MacroRecord* boundMacro(const KeyBinding& binding) const;

private:
    void putHeader(ParameterImage& image, int base) const;
    void putMatrixAndFn(ParameterImage& image, int base) const;
    // Done when the bodies fit; otherwise too large ("maxDataWarn"), the slot named in the detail.
    Outcome putMacros(KeyboardImage& out, int base) const;
    const BindingMap& profileKeys() const;
    const BindingMap& profileSettings() const;
    int settingCode(const char* name) const;

    const KeyboardConfig& config_;
    const std::vector<MacroGroup>& macroGroups_;
    const KeyboardDeviceState& device_;
};

} // namespace varnix
