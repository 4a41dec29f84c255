// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/LedEffectJson.h"

#include <string>

namespace varnix {

using nlohmann::json;

namespace {

std::string slotKey(LedJsonForm form, int slot) {
    const char* prefix =
        form == LedJsonForm::Shared ? ledjson::SharedSlotPrefix : ledjson::KeyboardSlotPrefix;
    return prefix + std::to_string(slot);
}

const char* selectedSlotKey(LedJsonForm form) {
    return form == LedJsonForm::Pad ? ledjson::PadSelectedSlot : ledjson::KeyboardSelectedSlot;
}

const char* colourTypeKey(LedJsonForm form) {
    return form == LedJsonForm::Pad ? ledjson::PadColourType : ledjson::KeyboardColourType;
}

} // namespace

LedEffect readLedEffect(const json& object, LedJsonForm form) {
    LedEffect effect;
    if (form != LedJsonForm::Shared)
        effect.colourType = object.at(colourTypeKey(form)).get<std::int32_t>();
    effect.selectedSlot = object.at(selectedSlotKey(form)).get<std::int32_t>();
    effect.mode = object.at(ledjson::Mode).get<std::int32_t>();
    effect.brightness = object.at(ledjson::Brightness).get<std::int32_t>();
    effect.speed = object.at(ledjson::Speed).get<std::int32_t>();
    effect.symmetric = object.at(ledjson::Symmetric).get<bool>();
    effect.direction = object.at(ledjson::Direction).get<std::int32_t>();
    for (int i = 0; i < LedSlotCount; ++i) {
        ColourSlot& slot = effect.slots[static_cast<std::size_t>(i)];
        if (form == LedJsonForm::Pad) {
            const json& entry = object.at(ledjson::PadSlotArray).at(static_cast<std::size_t>(i));
            slot.enabled = entry.at(ledjson::PadSlotEnabled).get<std::int32_t>();
            slot.colour = entry.at(ledjson::PadSlotColour).get<std::uint32_t>();
        } else {
            const json& pair = object.at(slotKey(form, i));
            slot.enabled = pair.at(ledjson::SlotEnabledIndex).get<std::int32_t>();
            slot.colour = pair.at(ledjson::SlotColourIndex).get<std::uint32_t>();
        }
    }
    return effect;
}

json writeLedEffect(const LedEffect& effect, LedJsonForm form) {
    json object = json::object();
    if (form != LedJsonForm::Shared)
        object[colourTypeKey(form)] = effect.colourType;
    object[selectedSlotKey(form)] = effect.selectedSlot;
    object[ledjson::Mode] = effect.mode;
    object[ledjson::Brightness] = effect.brightness;
    object[ledjson::Speed] = effect.speed;
    object[ledjson::Symmetric] = effect.symmetric;
    object[ledjson::Direction] = effect.direction;
    json padSlots = json::array();
    for (int i = 0; i < LedSlotCount; ++i) {
        const ColourSlot& slot = effect.slots[static_cast<std::size_t>(i)];
        if (form == LedJsonForm::Pad)
            padSlots.push_back(
                {{ledjson::PadSlotEnabled, slot.enabled}, {ledjson::PadSlotColour, slot.colour}});
        else
            object[slotKey(form, i)] = json::array({slot.enabled, slot.colour});
    }
    if (form == LedJsonForm::Pad)
        object[ledjson::PadSlotArray] = std::move(padSlots);
    return object;
}

} // namespace varnix
