// SPDX-License-Identifier: GPL-3.0-or-later
// The three JSON forms of the lighting record: keyboard "KBled", pad "Padled", shared "PublicLed".
#pragma once

#include "lighting/LedEffect.h"

#include <nlohmann/json.hpp>
#include <string_view>

namespace varnix {

enum class LedJsonForm { Keyboard, Pad, Shared };

namespace ledjson {
// Member that holds the record inside each file's root object.
inline constexpr const char* KeyboardMember = "KBled";
inline constexpr const char* PadMember = "Padled";
inline constexpr const char* SharedMember = "PublicLed";
// Field keys.
inline constexpr const char* KeyboardColourType = "siglecycle_";
inline constexpr const char* PadColourType = "singlecycle";
inline constexpr const char* KeyboardSelectedSlot = "colsel_";
inline constexpr const char* PadSelectedSlot = "colsel";
inline constexpr const char* Mode = "curselmode";
inline constexpr const char* Brightness = "brightnessvalue";
inline constexpr const char* Speed = "frequencyvalue";
inline constexpr const char* Symmetric = "issysmetry";
inline constexpr const char* Direction = "directionsel";
// Keyboard and shared slots: one key per slot, the prefix followed by the slot digit, each
// holding [enabled, colour].
inline constexpr const char* KeyboardSlotPrefix = "ctrl_KBLed_Col";
inline constexpr const char* SharedSlotPrefix = "ctrl_PublicLed_Col";
inline constexpr std::size_t SlotEnabledIndex = 0;
inline constexpr std::size_t SlotColourIndex = 1;
// Pad slots: an array of seven objects.
inline constexpr const char* PadSlotArray = "ledcolorgroup";
inline constexpr const char* PadSlotEnabled = "enable";
inline constexpr const char* PadSlotColour = "ledcolor";
} // namespace ledjson

// Reads a record from its object in the given form. The result is built from scratch: every
// field and all seven slots come from the object (the shared form stores no colour type, which
// reads as single colour). Throws the JSON library's exceptions on a missing key or a wrong
// type, a non-boolean "issysmetry" among them ("type must be boolean, but is ...").
LedEffect readLedEffect(const nlohmann::json& object, LedJsonForm form);

// The object of a record in the given form.
nlohmann::json writeLedEffect(const LedEffect& effect, LedJsonForm form);

} // namespace varnix
