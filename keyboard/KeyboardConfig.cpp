// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyboardConfig.h"

#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "common/IniFile.h"
#include "common/JsonRead.h"
#include "keyboard/KeyboardFiles.h"
#include "keyboard/KeyboardKeyList.h"
#include "lighting/LedEffectJson.h"

#include <algorithm>

namespace varnix {

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

// The document of a JSON file, or nothing when it cannot be opened. Parse errors throw.
std::optional<json> readJsonFile(const fs::path& path) {
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes)
        return std::nullopt;
    return parseJson(*bytes);
}

std::string matrixKey(int row, int column) {
    return formatText("%d_%d", row, column);
}

const char* const LockSwitches[] = {kbfiles::AltF4Lock, kbfiles::WinAppLock, kbfiles::AllKeyLock};

bool isLockSwitch(const std::string& name) {
    return std::any_of(std::begin(LockSwitches), std::end(LockSwitches),
                       [&](const char* lock) { return name == lock; });
}

} // namespace

void KeyboardConfig::reportLoadError(const std::string& step, const std::string& what) {
    const std::string text = step + ": " + what;
    loadErrors.push_back(text);
    consoleOutput(text + "\n");
}

void KeyboardConfig::fillMacroSlotCodes() {
    macroSlotCodes.clear();
    for (int slot = 0; slot < MacroSlotCodeCount; ++slot)
        macroSlotCodes[slot] = slot < SecondMacroSlotIndex
                                   ? FirstMacroSlotCode + slot
                                   : SecondMacroSlotCode + (slot - SecondMacroSlotIndex);
}

void KeyboardConfig::readLayout(const fs::path& folder) {
    const IniFile ini(folder / kbfiles::LayoutIni);
    matrix.clear();
    for (int row = 0; row < MatrixRows; ++row)
        for (int column = 0; column < MatrixColumns; ++column) {
            const std::string key = matrixKey(row, column);
            matrix[key] = ini.getInt(kbfiles::LayoutSection, key, 0, kbfiles::LayoutReadBuffer);
        }
}

void KeyboardConfig::readExtKeys(const fs::path& folder) {
    extKeys.clear();
    try {
        const std::optional<json> document = readJsonFile(folder / kbfiles::ExtKeysJson);
        if (!document || !document->contains(kbfiles::ExtKeysMember))
            return;
        std::map<std::string, ExtKey> read;
        for (const json& entry : document->at(kbfiles::ExtKeysMember)) {
            ExtKey key;
            key.name = entry.at(kbfiles::ExtKeyName).get<std::string>();
            key.number = jsonNumber<std::int32_t>(entry.at(kbfiles::ExtKeyNumber));
            key.map = jsonNumber<std::int32_t>(entry.at(kbfiles::ExtKeyMap));
            read[key.name] = key;
        }
        extKeys = std::move(read);
    } catch (const std::exception& error) {
        reportLoadError(kbfiles::ExtKeysJson, error.what());
    }
}

void KeyboardConfig::buildKeyTemplate() {
    keyTemplate.clear();
    for (const KeyboardKeyDefinition& definition : keyboardKeyList()) {
        KeyBinding binding;
        binding.name = definition.name;
        binding.defaultCode = definition.defaultCode;
        binding.code = definition.assignedAtStart ? definition.defaultCode : UnassignedKeyCode;
        keyTemplate[binding.name] = binding;
    }
    for (const auto& [name, extKey] : extKeys) {
        KeyBinding binding;
        binding.name = name;
        binding.defaultCode = extKey.number;
        binding.code = UnassignedKeyCode;
        keyTemplate[name] = binding;
    }
    for (BindingMap& profile : keys)
        profile = keyTemplate;
}

void KeyboardConfig::readKeys(const json& root) {
    std::array<BindingMap, KeyboardProfileCount> read = keys;
    if (root.contains(kbfiles::Keys))
        for (const auto& [name, codes] : root.at(kbfiles::Keys).items()) {
            if (!keyTemplate.contains(name))
                continue;
            const std::size_t count = std::min<std::size_t>(codes.size(), KeyboardProfileCount);
            for (std::size_t p = 0; p < count; ++p)
                read[p][name].code = jsonNumber<std::int32_t>(codes.at(p));
        }
    if (root.contains(kbfiles::KeyMacros))
        for (const auto& [name, links] : root.at(kbfiles::KeyMacros).items()) {
            if (!keyTemplate.contains(name))
                continue;
            const std::size_t count = std::min<std::size_t>(links.size(), KeyboardProfileCount);
            for (std::size_t p = 0; p < count; ++p) {
                KeyBinding& binding = read[p][name];
                binding.grpGuid = links.at(p).at(kbfiles::KeyMacroGroup).get<std::string>();
                binding.macGuid = links.at(p).at(kbfiles::KeyMacroMacro).get<std::string>();
            }
        }
    keys = std::move(read);
}

void KeyboardConfig::assignPositions() {
    for (BindingMap& profile : keys)
        for (auto& [name, binding] : profile) {
            binding.position = NoMatrixPosition;
            for (const auto& [position, code] : matrix)
                if (code == binding.defaultCode) {
                    binding.position = position;
                    break;
                }
        }
}

void KeyboardConfig::buildOtherKeys(const fs::path& folder) {
    const IniFile ini(folder / kbfiles::LayoutIni);
    auto read = [&](const std::string& key) {
        return ini.getInt(kbfiles::LayoutSection, key, 0, kbfiles::LayoutReadBuffer);
    };
    otherKeyTemplate.clear();
    for (int i = 1; i <= FnKeyCount; ++i) {
        const std::string key = formatText(kbfiles::FnKeyFormat, i);
        otherKeyTemplate[key] = read(key);
    }
    otherKeyTemplate[kbfiles::Scroll0Key] = read(kbfiles::Scroll0Key);
    otherKeyTemplate[kbfiles::Scroll1Key] = read(kbfiles::Scroll1Key);
    otherKeyTemplate[kbfiles::Scroll0Setting] = otherKeyTemplate[kbfiles::Scroll0Key];
    otherKeyTemplate[kbfiles::Scroll1Setting] = otherKeyTemplate[kbfiles::Scroll1Key];

    BindingMap profile;
    auto add = [&](const std::string& name, std::int32_t factory) {
        KeyBinding binding;
        binding.name = name;
        binding.defaultCode = factory;
        binding.code = factory;
        profile[name] = binding;
    };
    for (int i = 1; i <= FnKeyCount; ++i) {
        const std::string name = formatText(kbfiles::FnKeyFormat, i);
        add(name, otherKeyTemplate[name]);
    }
    add(kbfiles::Scroll0Setting, otherKeyTemplate[kbfiles::Scroll0Setting]);
    add(kbfiles::Scroll1Setting, otherKeyTemplate[kbfiles::Scroll1Setting]);
    for (const char* lock : LockSwitches)
        add(lock, 0);
    for (BindingMap& map : otherKeys)
        map = profile;
}

void KeyboardConfig::readOtherKeys(const json& root) {
    if (!root.contains(kbfiles::OtherKeys))
        return;
    std::array<BindingMap, KeyboardProfileCount> read = otherKeys;
    for (const auto& [name, codes] : root.at(kbfiles::OtherKeys).items()) {
        if (!read[0].contains(name))
            continue;
        const std::size_t count = std::min<std::size_t>(codes.size(), KeyboardProfileCount);
        for (std::size_t p = 0; p < count; ++p)
            read[p][name].code = jsonNumber<std::int32_t>(codes.at(p));
    }
    otherKeys = std::move(read);
}

void KeyboardConfig::setOtherKeyTexts() {
    for (BindingMap& profile : otherKeys)
        for (auto& [name, binding] : profile) {
            if (isLockSwitch(name))
                binding.displayText = texts.lockSwitch;
            else if (name == kbfiles::Scroll0Setting || name == kbfiles::Scroll1Setting)
                binding.displayText =
                    texts.scrollFunction ? texts.scrollFunction(binding.code) : std::string();
            else
                binding.displayText =
                    texts.keyFunction ? texts.keyFunction(binding.code) : std::string();
        }
}

void KeyboardConfig::readMainAndLighting(const json& root) {
    std::int32_t readVersion = version;
    std::int32_t readProfile = currentProfile;
    LedEffect readLighting = lighting;
    if (root.contains(kbfiles::Main)) {
        const json& main = root.at(kbfiles::Main);
        readVersion = jsonNumber<std::int32_t>(main.at(kbfiles::MainVersion));
        readProfile = jsonNumber<std::int32_t>(main.at(kbfiles::MainProfile));
        // Every profile map is indexed by it: a value outside 0..3 would reach past them.
        if (readProfile < 0 || readProfile >= KeyboardProfileCount)
            throw std::out_of_range(formatText("\"%s\" %d is not a profile 0..%d",
                                               kbfiles::MainProfile, readProfile,
                                               KeyboardProfileCount - 1));
    }
    if (root.contains(kbfiles::Lighting))
        readLighting = readLedEffect(root.at(kbfiles::Lighting), LedJsonForm::Keyboard);
    version = readVersion;
    currentProfile = readProfile;
    lighting = readLighting;
}

void KeyboardConfig::LoadKeyboardConfig(const fs::path& folder) {
    loadErrors.clear();
    version = 0;
    currentProfile = 0;
    lighting = LedEffect{};
    for (auto& used : usedMacroCodes)
        used.clear();

    fillMacroSlotCodes();
    readLayout(folder);
    readExtKeys(folder);
    buildKeyTemplate();

    // One parse of the user file; each reading step below is all-or-nothing.
    std::optional<json> document;
    try {
        document = readJsonFile(folder / kbfiles::UserJson);
    } catch (const std::exception& error) {
        reportLoadError(kbfiles::UserJson, error.what());
    }
    const json* root = nullptr;
    if (document && document->is_object() && document->contains(kbfiles::Root))
        root = &document->at(kbfiles::Root);
    auto step = [&](const char* what, const std::function<void(const json&)>& read) {
        if (!root)
            return;
        try {
            read(*root);
        } catch (const std::exception& error) {
            reportLoadError(std::string(kbfiles::UserJson) + " " + what, error.what());
        }
    };

    step(kbfiles::Keys, [this](const json& r) { readKeys(r); });
    feature = KeyboardFeatureProfile::read(folder, feature.capacity);
    assignPositions();
    buildOtherKeys(folder);
    step(kbfiles::OtherKeys, [this](const json& r) { readOtherKeys(r); });
    setOtherKeyTexts();
    step(kbfiles::Main, [this](const json& r) { readMainAndLighting(r); });
    refreshUsedMacroCodes();
}

json KeyboardConfig::toJson() const {
    json keyCodes = json::object();
    json keyMacros = json::object();
    for (const auto& [name, binding] : keys[0]) {
        json codes = json::array();
        json links = json::array();
        for (const BindingMap& profile : keys) {
            const auto found = profile.find(name);
            const KeyBinding& entry = found != profile.end() ? found->second : binding;
            codes.push_back(entry.code);
            links.push_back(
                {{kbfiles::KeyMacroGroup, entry.grpGuid}, {kbfiles::KeyMacroMacro, entry.macGuid}});
        }
        keyCodes[name] = std::move(codes);
        keyMacros[name] = std::move(links);
    }
    json otherCodes = json::object();
    for (const auto& [name, binding] : otherKeys[0]) {
        json codes = json::array();
        for (const BindingMap& profile : otherKeys) {
            const auto found = profile.find(name);
            codes.push_back(found != profile.end() ? found->second.code : binding.code);
        }
        otherCodes[name] = std::move(codes);
    }
    json root = json::object();
    root[kbfiles::Main] = {{kbfiles::MainVersion, version}, {kbfiles::MainProfile, currentProfile}};
    root[kbfiles::Keys] = std::move(keyCodes);
    root[kbfiles::KeyMacros] = std::move(keyMacros);
    root[kbfiles::OtherKeys] = std::move(otherCodes);
    root[kbfiles::Lighting] = writeLedEffect(lighting, LedJsonForm::Keyboard);
    return json{{kbfiles::Root, std::move(root)}};
}

Outcome KeyboardConfig::SaveKeyboardConfig(const fs::path& folder) {
    const std::string bytes =
        toJson().dump(kbfiles::JsonIndent, ' ', false, json::error_handler_t::replace);
    if (const Outcome written = writeFileAtomically(folder / kbfiles::UserJson, bytes); !written) {
        Outcome failed = Outcome::failure(written.status,
                                          "cannot save " + (folder / kbfiles::UserJson).string() +
                                              ": " + written.detail);
        debugOutput(failed.detail + "\n");
        return failed;
    }
    return Outcome::done();
}

Outcome KeyboardConfig::ResetKeyboardConfig(const fs::path& folder) {
    for (BindingMap& profile : keys)
        for (auto& [name, binding] : profile) {
            binding.code = binding.defaultCode;
            binding.grpGuid.clear();
            binding.macGuid.clear();
        }
    for (auto& used : usedMacroCodes)
        used.clear();
    for (BindingMap& profile : otherKeys)
        for (auto& [name, binding] : profile)
            binding.code = binding.defaultCode;
    try {
        const std::optional<json> factory = readJsonFile(folder / kbfiles::ResetJson);
        if (factory && factory->contains(kbfiles::Root))
            readMainAndLighting(factory->at(kbfiles::Root));
    } catch (const std::exception& error) {
        reportLoadError(kbfiles::ResetJson, error.what());
    }
    return SaveKeyboardConfig(folder);
}

std::map<std::string, bool> KeyboardConfig::MarkChangedKeys(int profile) const {
    std::map<std::string, bool> marks;
    if (profile < 0 || profile >= KeyboardProfileCount)
        return marks;
    const auto index = static_cast<std::size_t>(profile);
    for (const BindingMap* map : {&keys[index], &otherKeys[index]})
        for (const auto& [name, binding] : *map)
            marks[name] = binding.changed();
    return marks;
}

std::optional<int> KeyboardConfig::macroSlotOf(std::int32_t code) const {
    for (const auto& [slot, slotCode] : macroSlotCodes)
        if (slotCode == code)
            return slot;
    return std::nullopt;
}

std::optional<std::int32_t> KeyboardConfig::takeFreeMacroCode(int profile) {
    if (profile < 0 || profile >= KeyboardProfileCount)
        return std::nullopt;
    std::vector<std::int32_t>& used = usedMacroCodes[static_cast<std::size_t>(profile)];
    if (used.size() >= static_cast<std::size_t>(MacroSlotCodeCount))
        return std::nullopt;
    for (const auto& [slot, code] : macroSlotCodes)
        if (std::find(used.begin(), used.end(), code) == used.end()) {
            used.push_back(code);
            return code;
        }
    return std::nullopt;
}

void KeyboardConfig::refreshUsedMacroCodes() {
    if (macroSlotCodes.empty())
        fillMacroSlotCodes();
    for (std::size_t p = 0; p < keys.size(); ++p) {
        std::vector<std::int32_t>& used = usedMacroCodes[p];
        used.clear();
        for (const auto& [slot, code] : macroSlotCodes) {
            const bool carried = std::any_of(keys[p].begin(), keys[p].end(), [&](const auto& key) {
                return key.second.code == code;
            });
            if (carried)
                used.push_back(code);
        }
    }
}

} // namespace varnix
