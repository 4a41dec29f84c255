// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/MouseConfigFile.h"

#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "common/JsonRead.h"
#include "common/Utf16.h"

#include <algorithm>
#include <cwctype>

namespace varnix {
namespace {

using nlohmann::json;
namespace mf = mousefile;

Outcome failure(Status status, std::string detail) {
    debugOutput(detail);
    return Outcome::failure(status, std::move(detail));
}

// A refused import: the page shows the "Error"/"ImportErr" message.
Outcome refusal(Status status, std::string detail) {
    return failure(status, std::move(detail)).shown(messagekey::Error, messagekey::ImportErr);
}

// The parsed file, or Missing or Invalid.
Expected<json> parseFile(const std::filesystem::path& file) {
    const std::optional<std::string> bytes = readWholeFile(file);
    if (!bytes)
        return Outcome::failure(Status::Missing, "cannot open " + file.string());
    try {
        return parseJson(*bytes);
    } catch (const json::exception& error) {
        return failure(Status::Invalid, file.string() + ": " + error.what());
    }
}

Outcome writeDocument(const std::filesystem::path& file, const json& document) {
    const std::string text = document.dump(mf::Indent, ' ', false, json::error_handler_t::replace);
    if (const Outcome written = writeFileAtomically(file, text); !written)
        return failure(written.status, "cannot write " + file.string() + ": " + written.detail);
    return Outcome::done();
}

Outcome copyOver(const std::filesystem::path& target, const std::string& bytes) {
    if (const Outcome written = writeFileAtomically(target, bytes); !written)
        return failure(written.status, "cannot write " + target.string() + ": " + written.detail);
    return Outcome::done();
}

// The library's own conversion: numbers and booleans convert, anything else is its type error.
std::int32_t readInt(const json& value) {
    return jsonNumber<std::int32_t>(value);
}
std::uint32_t readUnsigned(const json& value) {
    return jsonNumber<std::uint32_t>(value);
}

std::u16string nameUnits(const json& array) {
    std::u16string units;
    for (const json& unit : array)
        units.push_back(static_cast<char16_t>(jsonNumber<std::uint32_t>(unit) & 0xFFFF));
    return units;
}

} // namespace

std::filesystem::path MouseConfigFile::configPath(const std::filesystem::path& modelFolder) {
    return modelFolder / mf::ConfigFile;
}

std::filesystem::path MouseConfigFile::resetPath(const std::filesystem::path& modelFolder) {
    return modelFolder / mf::ResetFile;
}

void MouseConfigFile::fromJson(const json& document, MouseConfigModel& model) {
    // Members that are absent read as null, so a missing number is the library's type error.
    json root = document;
    json& config = root[mf::Root];

    model.profiles.fill(MouseConfigModel::templateProfile());
    for (auto& [name, codes] : config[mf::Keys].items()) {
        for (std::size_t i = 0; i < codes.size() && i < model.profiles.size(); ++i) {
            const auto found = model.profiles[i].find(name);
            if (found != model.profiles[i].end())
                found->second.code = readInt(codes[i]);
        }
    }
    for (auto& [name, macros] : config[mf::KeyMacros].items()) {
        for (std::size_t i = 0; i < macros.size() && i < model.profiles.size(); ++i) {
            const auto found = model.profiles[i].find(name);
            if (found == model.profiles[i].end())
                continue;
            found->second.grpGuid = macros[i][mf::GroupGuid].get<std::string>();
            found->second.macGuid = macros[i][mf::MacroGuid].get<std::string>();
        }
    }

    json& advanced = config[mf::Advanced];
    model.cruseldpi = readUnsigned(advanced[mf::CurrentDpi]);
    model.firevalue = readUnsigned(advanced[mf::Fire]);
    model.rateusbvalue = readUnsigned(advanced[mf::PollingRate]);
    model.dpiLevels.clear();
    for (int n = 0; n < mousemodel::DpiLevelCount; ++n) {
        json& level = advanced[mf::DpiLevelPrefix + std::to_string(n)];
        model.dpiLevels.push_back({readInt(level[0]), readInt(level[1]), readUnsigned(level[2])});
    }

    json& led = config[mf::Led];
    model.ledColours.clear();
    for (int n = 0; n < mousemodel::LedSlotCount; ++n) {
        json& slot = led[mf::LedSlotPrefix + std::to_string(n)];
        model.ledColours.push_back({readInt(slot[0]), readUnsigned(slot[1])});
    }
    model.brightnessvalue = readUnsigned(led[mf::Brightness]);
    model.curselmode = readUnsigned(led[mf::Mode]);
    model.directionsel = readUnsigned(led[mf::Direction]);
    model.frequencyvalue = readUnsigned(led[mf::Speed]);
    model.issysmetry = led[mf::Symmetry].get<bool>();

    json& main = config[mf::Main];
    model.ver = readUnsigned(main[mf::Version]);
    model.curporfile = readUnsigned(main[mf::CurrentProfile]);
}

json MouseConfigFile::toJson(const MouseConfigModel& model) {
    json config = json::object();
    json keys = json::object();
    json keyMacros = json::object();
    for (const auto& [name, first] : model.profiles[0]) {
        json codes = json::array();
        json macros = json::array();
        for (const MouseKeyProfile& profile : model.profiles) {
            const auto found = profile.find(name);
            if (found == profile.end())
                continue;
            codes.push_back(found->second.code);
            macros.push_back(
                {{mf::GroupGuid, found->second.grpGuid}, {mf::MacroGuid, found->second.macGuid}});
        }
        keys[name] = codes;
        keyMacros[name] = macros;
    }
    config[mf::Keys] = keys;
    config[mf::KeyMacros] = keyMacros;

    json advanced = {{mf::CurrentDpi, model.cruseldpi},
                     {mf::Fire, model.firevalue},
                     {mf::PollingRate, model.rateusbvalue}};
    for (std::size_t n = 0; n < model.dpiLevels.size(); ++n) {
        const DpiLevel& level = model.dpiLevels[n];
        advanced[mf::DpiLevelPrefix + std::to_string(n)] = {level.enabled, level.dpiIndex,
                                                            level.colour};
    }
    config[mf::Advanced] = advanced;

    json led = {{mf::Mode, model.curselmode},
                {mf::Brightness, model.brightnessvalue},
                {mf::Speed, model.frequencyvalue},
                {mf::Symmetry, model.issysmetry},
                {mf::Direction, model.directionsel}};
    for (std::size_t n = 0; n < model.ledColours.size(); ++n)
        led[mf::LedSlotPrefix + std::to_string(n)] = {model.ledColours[n].enabled,
                                                      model.ledColours[n].colour};
    config[mf::Led] = led;
    config[mf::Main] = {{mf::Version, model.ver}, {mf::CurrentProfile, model.curporfile}};
    return {{mf::Root, config}};
}

Outcome MouseConfigFile::load(const std::filesystem::path& file, MouseConfigModel& model) {
    const Expected<json> document = parseFile(file);
    if (!document)
        return document.outcome();
    MouseConfigModel loaded = model;
    try {
        fromJson(*document, loaded);
    } catch (const json::exception& error) {
        return failure(Status::Invalid, file.string() + ": " + error.what());
    }
    model = std::move(loaded);
    return Outcome::done();
}

Outcome MouseConfigFile::save(const std::filesystem::path& file, const MouseConfigModel& model,
                              const std::function<void()>& saved) {
    Outcome outcome = writeDocument(file, toJson(model));
    if (outcome.ok() && saved)
        saved();
    return outcome;
}

Outcome MouseConfigFile::reset(const std::filesystem::path& modelFolder) {
    const std::filesystem::path factory = resetPath(modelFolder);
    const std::optional<std::string> bytes = readWholeFile(factory);
    if (!bytes)
        return failure(Status::Missing, "cannot open " + factory.string());
    return copyOver(configPath(modelFolder), *bytes);
}

Outcome MouseConfigFile::exportTo(const std::filesystem::path& modelFolder,
                                  const std::filesystem::path& target,
                                  const std::string& mouseName) {
    Expected<json> document = parseFile(configPath(modelFolder));
    if (!document)
        return document.outcome();
    if (!document->is_object())
        return failure(Status::Invalid,
                       configPath(modelFolder).string() + " does not hold a configuration object");
    json name = json::array();
    for (const char16_t unit : utf8ToUtf16(mouseName))
        name.push_back(static_cast<std::uint32_t>(unit));
    (*document)[mf::MouseName] = name;
    return writeDocument(target, *document);
}

Outcome MouseConfigFile::importFrom(const std::filesystem::path& modelFolder,
                                    const std::filesystem::path& source,
                                    const std::string& mouseName) {
    const std::optional<std::string> bytes = readWholeFile(source);
    if (!bytes)
        return failure(Status::Missing, "cannot open " + source.string());
    try {
        const json document = parseJson(*bytes);
        if (!document.is_object() || !document.contains(mf::MouseName))
            return refusal(Status::NoName, source.string() + " has no \"MouseName\"");
        if (!sameName(nameUnits(document[mf::MouseName]), utf8ToUtf16(mouseName)))
            return refusal(Status::OtherModel, source.string() + " was made for another mouse");
        // Only a file that reads as a configuration may replace the current one.
        MouseConfigModel scratch;
        fromJson(document, scratch);
    } catch (const json::exception& error) {
        return refusal(Status::Invalid, source.string() + ": " + error.what());
    }
    return copyOver(configPath(modelFolder), *bytes);
}

bool MouseConfigFile::sameName(const std::u16string& a, const std::u16string& b) {
    auto fold = [](char16_t unit) {
        return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(unit)));
    };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](char16_t x, char16_t y) { return fold(x) == fold(y); });
}

} // namespace varnix
