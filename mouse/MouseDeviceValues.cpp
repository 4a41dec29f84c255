// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/MouseDeviceValues.h"

#include <algorithm>

namespace varnix {
namespace {

namespace md = mousedevice;

// HID consumer-page usages of the function codes 29..39.
constexpr std::array<std::uint16_t, md::LastConsumerCode - md::FirstConsumerCode + 1>
    ConsumerUsages{
        0x223, // 29 AC Home
        0x183, // 30 AL Consumer Control Configuration
        0x18A, // 31 AL Email Reader
        0x0E9, // 32 Volume Increment
        0x0EA, // 33 Volume Decrement
        0x0B6, // 34 Scan Previous Track
        0x0B5, // 35 Scan Next Track
        0x0E2, // 36 Mute
        0x0CD, // 37 Play/Pause
        0x192, // 38 AL Calculator
        0x0B7, // 39 Stop
    };

std::uint8_t channelNibble(std::uint32_t colour, int shift) {
    return static_cast<std::uint8_t>(15 - ((colour >> (shift + 4)) & 0x0F));
}

} // namespace

DeviceColour DeviceColour::fromArgb(std::uint32_t colour) {
    return {channelNibble(colour, 16), channelNibble(colour, 8), channelNibble(colour, 0)};
}

std::uint8_t mousePollingCode(std::uint32_t rateusbvalue) {
    switch (rateusbvalue) {
    case 3:
        return 0;
    case 2:
        return 1;
    case 1:
        return 3;
    default:
        return md::PollingOther;
    }
}

MouseKeyType mouseKeyType(std::int32_t code, const MacroData* macro) {
    if (code >= 0 && code <= md::LastDirectCode)
        return {static_cast<std::uint8_t>(code), 0};
    if (code >= md::FirstConsumerCode && code <= md::LastConsumerCode)
        return {md::TypeConsumer,
                ConsumerUsages[static_cast<std::size_t>(code - md::FirstConsumerCode)]};
    if (code >= md::FirstShortcutCode && code <= md::LastShortcutCode)
        return {md::TypeMacro, 0};
    if (code >= md::FirstUserMacroCode) {
        // A key whose macro no longer exists would play whatever the device holds: no function.
        if (!macro)
            return {md::TypeNone, 0};
        const bool whileHeld = (macro->rptType & MacroRepeatModeMask) == MacroRepeatUntilRelease;
        return {whileHeld ? md::TypeMacroWhileHeld : md::TypeMacro, 0};
    }
    return {md::TypeNone, 0}; // 49 and negative codes
}

const MacroRecord* findBoundMacro(const std::vector<MacroGroup>& macros, const std::string& grpGuid,
                                  const std::string& macGuid) {
    const auto group = std::find_if(macros.begin(), macros.end(),
                                    [&](const MacroGroup& g) { return g.guid == grpGuid; });
    if (group == macros.end())
        return nullptr;
    const auto macro = std::find_if(group->macros.begin(), group->macros.end(),
                                    [&](const MacroRecord& m) { return m.guid == macGuid; });
    return macro == group->macros.end() ? nullptr : &*macro;
}

bool isEmptyMacro(const MacroData& data) {
    return data.macRpt == 0 && data.num == 0 && data.numXY == 0 && data.numWhl == 0;
}

MouseDeviceValues MouseDeviceValues::fromModel(const MouseConfigModel& model,
                                               const std::vector<MacroGroup>& macros) {
    MouseDeviceValues values;

    // Key code table: binding i goes to device slot keyMap[i] - 1.
    const int keyCount = std::clamp(model.keyNum, 0, mousemodel::FeatureKeyCount);
    for (int p = 0; p < mousemodel::ProfileCount; ++p) {
        for (int i = 0; i < keyCount; ++i) {
            const int slot = model.keyMap[static_cast<std::size_t>(i)] - 1;
            const MouseKeyBinding* binding = model.binding(p, i);
            if (!binding || slot < 0 || slot >= md::SlotCount)
                continue;
            values.slots[static_cast<std::size_t>(p)][static_cast<std::size_t>(slot)] = {
                binding->code, binding->grpGuid, binding->macGuid};
        }
    }

    // Key types of slots 0..11, then the pass that silences keys bound to empty macros.
    for (std::size_t p = 0; p < values.slots.size(); ++p) {
        for (std::size_t s = 0; s < md::TypedSlotCount; ++s) {
            const MouseSlotBinding& slot = values.slots[p][s];
            const MacroRecord* macro = slot.code >= md::FirstUserMacroCode && slot.boundToMacro()
                                           ? findBoundMacro(macros, slot.grpGuid, slot.macGuid)
                                           : nullptr;
            values.keyTypes[p][s] = mouseKeyType(slot.code, macro ? &macro->data : nullptr);
        }
        for (std::size_t s = 0; s < md::TypedSlotCount; ++s) {
            const MouseSlotBinding& slot = values.slots[p][s];
            if (slot.code < md::FirstUserMacroCode || !slot.boundToMacro())
                continue;
            const MacroRecord* macro = findBoundMacro(macros, slot.grpGuid, slot.macGuid);
            if (macro && isEmptyMacro(macro->data))
                values.keyTypes[p][s].type = md::TypeNone;
        }
    }

    values.profile = static_cast<std::uint8_t>(model.curporfile);
    values.dpiLevel = static_cast<std::uint8_t>(model.cruseldpi);
    values.fire = model.firevalue;
    values.pollingCode = mousePollingCode(model.rateusbvalue);
    values.ledMode = static_cast<std::uint8_t>(model.curselmode);
    values.ledBrightnessCode = static_cast<std::uint8_t>(7 - model.brightnessvalue);
    values.ledSpeedCode = static_cast<std::uint8_t>(model.frequencyvalue - 1);
    values.ledSymmetric = model.issysmetry;
    values.ledDirection = static_cast<std::uint8_t>(model.directionsel);

    for (std::size_t n = 0; n < values.dpi.size() && n < model.dpiLevels.size(); ++n) {
        const DpiLevel& level = model.dpiLevels[n];
        values.dpi[n] = {level.enabled != 0, static_cast<std::uint8_t>(level.dpiIndex),
                         DeviceColour::fromArgb(level.colour)};
        if (level.enabled != 0)
            values.dpiEnableMask |= static_cast<std::uint8_t>(1u << n);
    }
    for (std::size_t n = 0; n < values.led.size() && n < model.ledColours.size(); ++n) {
        const LedColourSlot& slot = model.ledColours[n];
        values.led[n] = {slot.enabled != 0, DeviceColour::fromArgb(slot.colour)};
        if (slot.enabled != 0)
            values.ledEnableMask |= static_cast<std::uint8_t>(1u << n);
    }
    return values;
}

} // namespace varnix
