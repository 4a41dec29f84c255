// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/PadLighting.h"

#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
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

PadFileResult failure(PadFileStatus status, std::string message) {
    debugOutput(message);
    return {status, std::move(message)};
}

PadFileResult writeDocument(const std::filesystem::path& file, const json& document) {
    std::string error;
    const std::string text =
        document.dump(padfile::Indent, ' ', false, json::error_handler_t::replace);
    if (!writeFileAtomically(file, text, &error))
        return failure(PadFileStatus::WriteFailed, "cannot write " + file.string() + ": " + error);
    return {};
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
            lighting.response.push_back({pair.at(padfile::ResponseEnable).get<std::int32_t>(),
                                         pair.at(padfile::ResponseMode).get<std::int32_t>()});
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

PadFileResult PadLighting::load(const std::filesystem::path& modelFolder, PadLighting& lighting,
                                std::uint8_t* brightMax, bool createMissing) {
    PadFileResult result;
    const std::filesystem::path file = configPath(modelFolder);
    if (const std::optional<std::string> bytes = readWholeFile(file)) {
        try {
            lighting = fromJson(json::parse(*bytes));
        } catch (const json::exception& error) {
            return failure(PadFileStatus::Invalid, file.string() + ": " + error.what());
        }
    } else {
        lighting = defaults();
        if (createMissing)
            result = save(modelFolder, lighting);
        if (result.ok())
            result.status = PadFileStatus::Created;
    }
    const std::uint8_t maximum = PadFeatureProfile::read(modelFolder).brightMax;
    lighting.brightness = std::min<std::int32_t>(lighting.brightness, maximum);
    if (brightMax)
        *brightMax = maximum;
    return result;
}

PadFileResult PadLighting::save(const std::filesystem::path& modelFolder,
                                const PadLighting& lighting) {
    return writeDocument(configPath(modelFolder), toJson(lighting));
}

PadFileResult PadLighting::reset(const std::filesystem::path& modelFolder) {
    const std::optional<std::string> bytes = readWholeFile(resetPath(modelFolder));
    if (!bytes)
        return failure(PadFileStatus::Missing, "cannot open " + resetPath(modelFolder).string());
    std::string error;
    if (!writeFileAtomically(configPath(modelFolder), *bytes, &error))
        return failure(PadFileStatus::WriteFailed,
                       "cannot write " + configPath(modelFolder).string() + ": " + error);
    return {};
}

PadFileResult PadLighting::exportTo(const std::filesystem::path& modelFolder,
                                    const std::filesystem::path& target,
                                    const std::string& padName) {
    const std::filesystem::path file = configPath(modelFolder);
    const std::optional<std::string> bytes = readWholeFile(file);
    if (!bytes)
        return failure(PadFileStatus::Missing, "cannot open " + file.string());
    json document;
    try {
        document = json::parse(*bytes);
    } catch (const json::exception& error) {
        return failure(PadFileStatus::Invalid, file.string() + ": " + error.what());
    }
    if (!document.is_object())
        return failure(PadFileStatus::Invalid, file.string() + " holds no configuration object");
    json name = json::array();
    for (const char16_t unit : utf8ToUtf16(padName))
        name.push_back(static_cast<std::uint32_t>(unit));
    document[padfile::PadName] = name;
    return writeDocument(target, document);
}

PadFileResult PadLighting::importFrom(const std::filesystem::path& modelFolder,
                                      const std::filesystem::path& source,
                                      const std::string& padName) {
    const std::optional<std::string> bytes = readWholeFile(source);
    if (!bytes)
        return failure(PadFileStatus::Missing, "cannot open " + source.string());
    try {
        const json document = json::parse(*bytes);
        if (!document.is_object() || !document.contains(padfile::PadName))
            return failure(PadFileStatus::NoName, source.string() + " has no \"PadName\"");
        std::u16string units;
        for (const json& unit : document.at(padfile::PadName))
            units.push_back(static_cast<char16_t>(unit.get<std::uint32_t>() & 0xFFFF));
        if (!sameName(units, utf8ToUtf16(padName)))
            return failure(PadFileStatus::OtherPad, source.string() + " was made for another pad");
        fromJson(document); // only a readable configuration may replace the current one
    } catch (const json::exception& error) {
        return failure(PadFileStatus::Invalid, source.string() + ": " + error.what());
    }
    std::string error;
    if (!writeFileAtomically(configPath(modelFolder), *bytes, &error))
        return failure(PadFileStatus::WriteFailed,
                       "cannot write " + configPath(modelFolder).string() + ": " + error);
    return {};
}

} // namespace varnix
