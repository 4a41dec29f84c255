// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/PadLighting.h"

#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "common/JsonRead.h"
#include "common/Utf16.h"
#include "device/PadFeatureProfile.h"
#include "lighting/LedEffectJson.h"

#include <algorithm>
#include <cwctype>

namespace varnix {
namespace {

using nlohmann::json;

constexpr std::uint32_t DefaultSlotColour = 0xFFFF0000;
constexpr std::int32_t DefaultBrightness = 3;
constexpr std::int32_t DefaultSpeed = 2;
constexpr std::int32_t DefaultDirection = 1;

Outcome failure(Status status, std::string detail) {
    debugOutput(detail);
    return Outcome::failure(status, std::move(detail));
}

// A refused import: the page shows the "Error"/"ImportErr" message.
Outcome refusal(Status status, std::string detail) {
    return failure(status, std::move(detail)).shown(messagekey::Error, messagekey::ImportErr);
}

Outcome writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    if (const Outcome written = writeFileAtomically(file, bytes); !written)
        return failure(written.status, "cannot write " + file.string() + ": " + written.detail);
    return Outcome::done();
}

Outcome writeDocument(const std::filesystem::path& file, const json& document) {
    return writeBytes(file,
                      document.dump(padfile::Indent, ' ', false, json::error_handler_t::replace));
}

bool sameName(const std::u16string& a, const std::u16string& b) {
    auto fold = [](char16_t unit) { return std::towlower(static_cast<std::wint_t>(unit)); };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](auto x, auto y) { return fold(x) == fold(y); });
}

} // namespace

PadLighting PadLighting::defaults() {
    PadLighting lighting;
    for (ColourSlot& slot : lighting.slots)
        slot = {1, DefaultSlotColour};
    lighting.response.assign(padfile::MaxResponsePairs, {1, 1});
    lighting.mode = 0;
    lighting.brightness = DefaultBrightness;
    lighting.speed = DefaultSpeed;
    lighting.symmetric = false;
    lighting.direction = DefaultDirection;
    lighting.colourType = LedSingleColour;
    lighting.selectedSlot = 0;
    return lighting;
}

LedEffect PadLighting::effect() const {
    return {colourType, selectedSlot, mode, brightness, speed, symmetric, direction, slots};
}

void PadLighting::setEffect(const LedEffect& effect) {
    colourType = effect.colourType;
    selectedSlot = effect.selectedSlot;
    mode = effect.mode;
    brightness = effect.brightness;
    speed = effect.speed;
    symmetric = effect.symmetric;
    direction = effect.direction;
    slots = effect.slots;
}

PadLighting PadLighting::fromJson(const json& document) {
    const json& object = document.at(padfile::Root).at(ledjson::PadMember);
    PadLighting lighting;
    lighting.setEffect(readLedEffect(object, LedJsonForm::Pad));
    if (object.contains(padfile::Response)) {
        for (const json& pair : object.at(padfile::Response))
            lighting.response.push_back({jsonNumber<std::int32_t>(pair.at(padfile::ResponseEnable)),
                                         jsonNumber<std::int32_t>(pair.at(padfile::ResponseMode))});
    }
    return lighting;
}

json PadLighting::toJson(const PadLighting& lighting) {
    json object = writeLedEffect(lighting.effect(), LedJsonForm::Pad);
    json response = json::array();
    const std::size_t count = std::min(lighting.response.size(), padfile::MaxResponsePairs);
    for (std::size_t i = 0; i < count; ++i)
        response.push_back({{padfile::ResponseEnable, lighting.response[i].enable},
                            {padfile::ResponseMode, lighting.response[i].mode}});
    object[padfile::Response] = response;
    return {{padfile::Root, {{ledjson::PadMember, object}}}};
}

std::filesystem::path PadLighting::configPath(const std::filesystem::path& modelFolder) {
    return modelFolder / padfile::ConfigFile;
}

std::filesystem::path PadLighting::resetPath(const std::filesystem::path& modelFolder) {
    return modelFolder / padfile::ResetFile;
}

Outcome PadLighting::load(const std::filesystem::path& modelFolder, PadLighting& lighting,
                          std::uint8_t* brightMax, bool createMissing) {
    Outcome outcome;
    const std::filesystem::path file = configPath(modelFolder);
    if (const std::optional<std::string> bytes = readWholeFile(file)) {
        try {
            lighting = fromJson(parseJson(*bytes));
        } catch (const json::exception& error) {
            return failure(Status::Invalid, file.string() + ": " + error.what());
        }
    } else {
        lighting = defaults();
        if (createMissing)
            outcome = save(modelFolder, lighting);
        if (outcome.ok())
            outcome.status = Status::Created;
    }
    const std::uint8_t maximum = PadFeatureProfile::read(modelFolder).brightMax;
    lighting.brightness = std::min<std::int32_t>(lighting.brightness, maximum);
    if (brightMax)
        *brightMax = maximum;
    return outcome;
}

Outcome PadLighting::save(const std::filesystem::path& modelFolder, const PadLighting& lighting) {
    return writeDocument(configPath(modelFolder), toJson(lighting));
}

Outcome PadLighting::reset(const std::filesystem::path& modelFolder) {
    const std::optional<std::string> bytes = readWholeFile(resetPath(modelFolder));
    if (!bytes)
        return failure(Status::Missing, "cannot open " + resetPath(modelFolder).string());
    return writeBytes(configPath(modelFolder), *bytes);
}

Outcome PadLighting::exportTo(const std::filesystem::path& modelFolder,
                              const std::filesystem::path& target, const std::string& padName) {
    const std::filesystem::path file = configPath(modelFolder);
    const std::optional<std::string> bytes = readWholeFile(file);
    if (!bytes)
        return failure(Status::Missing, "cannot open " + file.string());
    json document;
    try {
        document = parseJson(*bytes);
    } catch (const json::exception& error) {
        return failure(Status::Invalid, file.string() + ": " + error.what());
    }
    if (!document.is_object())
        return failure(Status::Invalid, file.string() + " holds no configuration object");
    json name = json::array();
    for (const char16_t unit : utf8ToUtf16(padName))
        name.push_back(static_cast<std::uint32_t>(unit));
    document[padfile::PadName] = name;
    return writeDocument(target, document);
}

Outcome PadLighting::importFrom(const std::filesystem::path& modelFolder,
                                const std::filesystem::path& source, const std::string& padName) {
    const std::optional<std::string> bytes = readWholeFile(source);
    if (!bytes)
        return failure(Status::Missing, "cannot open " + source.string());
    try {
        const json document = parseJson(*bytes);
        if (!document.is_object() || !document.contains(padfile::PadName))
            return refusal(Status::NoName, source.string() + " has no \"PadName\"");
        std::u16string units;
        for (const json& unit : document.at(padfile::PadName))
            units.push_back(static_cast<char16_t>(jsonNumber<std::uint32_t>(unit) & 0xFFFF));
        if (!sameName(units, utf8ToUtf16(padName)))
            return refusal(Status::OtherModel, source.string() + " was made for another pad");
        fromJson(document); // only a readable configuration may replace the current one
    } catch (const json::exception& error) {
        return refusal(Status::Invalid, source.string() + ": " + error.what());
    }
    return writeBytes(configPath(modelFolder), *bytes);
}

} // namespace varnix
