// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/SharedLighting.h"

#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "common/JsonRead.h"
#include "device/LightingFeature.h"
#include "lighting/LedEffectJson.h"
#include "lighting/LedMode.h"

namespace varnix {
namespace {

using nlohmann::json;

constexpr std::array<int, SharedModeCount> DeviceModeCodes{
    LedModeBreathing, LedModeConstant, LedModeFlow,      LedModeSingle,
    LedModeCometTail, LedModeNeon,     LedModeAmbilight, LedModeMute};

// Repeat interval factors, in milliseconds.
constexpr std::int64_t PerLedStep = 212;
constexpr std::int64_t PerLedStepManyLeds = 53;
constexpr std::int64_t PerColourStep = 4232;
constexpr int ManyLeds = 15;
constexpr int NeonColourCount = 6;

} // namespace

std::optional<int> SharedLighting::deviceModeCode(int position) {
    if (position < 0 || position >= SharedModeCount)
        return std::nullopt;
    return DeviceModeCodes[static_cast<std::size_t>(position)];
}

int SharedLighting::colourCount() const {
    if (mode == SharedModeNeon)
        return NeonColourCount;
    int count = 0;
    for (const ColourSlot& slot : slots)
        count += slot.enabled != 0 ? 1 : 0;
    return count;
}

std::optional<std::int64_t> SharedLighting::repeatIntervalMs() const {
    const std::int64_t n = colourCount();
    if (mode != SharedModeNeon && n <= 1)
        return std::nullopt;
    const std::int64_t k = 7 - speed;
    std::int64_t interval = 0;
    switch (mode) {
    case 2:
    case 3:
        interval = k * ledCount * n * PerLedStep;
        break;
    case 4:
        interval = k * ledCount * n * (ledCount < ManyLeds ? PerLedStep : PerLedStepManyLeds);
        break;
    default:
        interval = k * n * PerColourStep;
        break;
    }
    // A speed of 7 or more, or no LEDs, would give a timer that never waits.
    if (interval <= 0)
        return std::nullopt;
    return interval;
}

std::int32_t SharedLighting::colourIndex() const {
    return deviceModeCode(mode) == LedModeConstant ? selectedSlot + 1 : 0;
}

LedEffect SharedLighting::asLedEffect() const {
    LedEffect effect;
    effect.selectedSlot = selectedSlot;
    effect.mode = mode;
    effect.brightness = brightness;
    effect.speed = speed;
    effect.symmetric = symmetric;
    effect.direction = direction;
    effect.slots = slots;
    return effect;
}

std::optional<LedEffect> SharedLighting::deviceEffect() const {
    const std::optional<int> code = deviceModeCode(mode);
    if (!code)
        return std::nullopt;
    LedEffect effect = asLedEffect();
    effect.mode = *code;
    const bool constant = *code == LedModeConstant;
    effect.colourType = constant ? LedSingleColour : LedCycleColours;
    effect.selectedSlot = constant ? selectedSlot : 0;
    return effect;
}

SharedLighting SharedLighting::fromJson(const json& document) {
    const json& object = document.at(sharedfile::Root).at(ledjson::SharedMember);
    const LedEffect effect = readLedEffect(object, LedJsonForm::Shared);
    SharedLighting lighting;
    lighting.selectedSlot = effect.selectedSlot;
    lighting.mode = effect.mode;
    lighting.brightness = effect.brightness;
    lighting.speed = effect.speed;
    lighting.symmetric = effect.symmetric;
    lighting.direction = effect.direction;
    lighting.slots = effect.slots;
    lighting.ledCount = object.contains(sharedfile::LedCount)
                            ? jsonNumber<std::int32_t>(object.at(sharedfile::LedCount))
                            : DefaultSharedLedCount;
    return lighting;
}

json SharedLighting::toJson(const SharedLighting& lighting) {
    json object = writeLedEffect(lighting.asLedEffect(), LedJsonForm::Shared);
    object[sharedfile::LedCount] = lighting.ledCount;
    return {{sharedfile::Root, {{ledjson::SharedMember, object}}}};
}

Outcome SharedLighting::load(const std::filesystem::path& file, SharedLighting& lighting) {
    const std::optional<std::string> bytes = readWholeFile(file);
    Outcome outcome = Outcome::failure(Status::Missing, "cannot open " + file.string());
    if (bytes) {
        try {
            lighting = fromJson(parseJson(*bytes));
            return Outcome::done();
        } catch (const json::exception& failure) {
            outcome = Outcome::failure(Status::Invalid, file.string() + ": " + failure.what());
        }
    }
    debugOutput(outcome.detail);
    return outcome;
}

Outcome SharedLighting::save(const std::filesystem::path& file, const SharedLighting& lighting) {
    const std::string text =
        toJson(lighting).dump(sharedfile::Indent, ' ', false, json::error_handler_t::replace);
    return writeFileAtomically(file, text);
}

} // namespace varnix
