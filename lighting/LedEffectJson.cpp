// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/LedEffectJson.h"

#include "common/JsonRead.h"

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
        effect.colourType = jsonNumber<std::int32_t>(object.at(colourTypeKey(form)));
    effect.selectedSlot = jsonNumber<std::int32_t>(object.at(selectedSlotKey(form)));
    effect.mode = jsonNumber<std::int32_t>(object.at(ledjson::Mode));
    effect.brightness = jsonNumber<std::int32_t>(object.at(ledjson::Brightness));
    effect.speed = jsonNumber<std::int32_t>(object.at(ledjson::Speed));
    effect.symmetric = object.at(ledjson::Symmetric).get<bool>();
    effect.direction = jsonNumber<std::int32_t>(object.at(ledjson::Direction));
    for (int i = 0; i < LedSlotCount; ++i) {
        ColourSlot& slot = effect.slots[static_cast<std::size_t>(i)];
        if (form == LedJsonForm::Pad) {
            const json& entry = object.at(ledjson::PadSlotArray).at(static_cast<std::size_t>(i));
            slot.enabled = jsonNumber<std::int32_t>(entry.at(ledjson::PadSlotEnabled));
            slot.colour = jsonNumber<std::uint32_t>(entry.at(ledjson::PadSlotColour));
        } else {
            const json& pair = object.at(slotKey(form, i));
            slot.enabled = jsonNumber<std::int32_t>(pair.at(ledjson::SlotEnabledIndex));
            slot.colour = jsonNumber<std::uint32_t>(pair.at(ledjson::SlotColourIndex));
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
