// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyboardPageModel.h"

#include "common/Diagnostics.h"
#include "common/FileNames.h"
#include "keyboard/KeyLegends.h"
#include "keyboard/KeyboardFiles.h"
#include "macro/KeyNames.h"
#include "macro/KeyboardLayout.h"
#include "macro/ScanCodes.h"

#include <algorithm>
#include <array>

namespace varnix {
namespace {

constexpr std::array<std::pair<int, const char*>, 8> ScrollMenuItems = {{
    {0, "rollup"},
    {1, "rolldn"},
    {2, "wheelup"},
    {3, "wheeldn"},
    {7, "spdup"},
    {8, "spddn"},
    {9, "brightup"},
    {10, "brightdn"},
}};

bool isKeyControl(const std::string& name) {
    return name.rfind(kbpage::KeyPrefix, 0) == 0;
}

bool isKnob(const std::string& name) {
    return name == kbfiles::Scroll0Setting || name == kbfiles::Scroll1Setting;
}

bool isLock(const std::string& name) {
    return name == kbfiles::AltF4Lock || name == kbfiles::WinAppLock || name == kbfiles::AllKeyLock;
}

std::string fnName(int n) {
    return formatText(kbfiles::FnKeyFormat, n);
}

// The code a binding stands for: an unassigned key keeps its factory function.
int effectiveCode(const KeyBinding& binding) {
    return binding.code == UnassignedKeyCode ? binding.defaultCode : binding.code;
}

} // namespace

std::string scrollMenuItem(int scrollCode) {
    for (const auto& [code, item] : ScrollMenuItems)
        if (code == scrollCode)
            return item;
    return {};
}

std::optional<int> scrollCodeOfMenuItem(const std::string& item) {
    for (const auto& [code, name] : ScrollMenuItems)
        if (item == name)
            return code;
    return std::nullopt;
}

KeyboardPageModel::KeyboardPageModel() : panel_(*LedPanel::fromPrefix(KeyboardLedPrefix)) {
    config_.texts.keyFunction = [this](int code) { return catalogue_.keyDisplayName(code, {}); };
    config_.texts.scrollFunction = [this](int code) { return catalogue_.scrollDisplayName(code); };
}

void KeyboardPageModel::setLockText(std::string text) {
    lockText_ = std::move(text);
    config_.texts.lockSwitch = lockText_;
    setOtherTexts();
}

Outcome KeyboardPageModel::load(const std::filesystem::path& modelFolder, std::string modelName,
                                const std::filesystem::path& resourceRoot) {
    folder_ = modelFolder;
    modelName_ = std::move(modelName);
    resourceRoot_ = resourceRoot;
    if (catalogue_.keyFunctions().empty())
        catalogue_.rebuildCatalogue();
    config_.LoadKeyboardConfig(folder_);
    macros_ = MacroStore(resourceRoot);
    const Outcome macrosRead = macros_.LoadMacroFile();
    panel_.show(config_.lighting);
    rebuildKeyTexts();
    std::string problems;
    for (const std::string& error : config_.loadErrors)
        problems += error + "; ";
    if (!macrosRead)
        problems += macrosRead.detail;
    if (!problems.empty())
        return Outcome::notice(messagekey::Tip, kbpage::JsonWarn, problems);
    return Outcome::done();
}

void KeyboardPageModel::rebuildTexts() {
    rebuildTexts(*activeKeyboardLayout());
}

void KeyboardPageModel::rebuildTexts(const KeyboardLayout& layout) {
    catalogue_.rebuildCatalogue(layout);
    rebuildKeyTexts();
}

void KeyboardPageModel::rebuildKeyTexts() {
    for (BindingMap& profile : config_.keys)
        for (auto& [name, binding] : profile)
            binding.displayText = bindingText(binding);
    setOtherTexts();
}

void KeyboardPageModel::setOtherTexts() {
    for (BindingMap& profile : config_.otherKeys)
        for (auto& [name, binding] : profile) {
            if (isLock(name))
                binding.displayText = lockText_;
            else if (isKnob(name))
                binding.displayText = catalogue_.scrollDisplayName(binding.code);
            else
                binding.displayText = catalogue_.keyDisplayName(binding.code, substitutions());
        }
}

std::vector<KeyCodeSubstitution> KeyboardPageModel::substitutions() const {
    std::vector<KeyCodeSubstitution> list;
    for (const auto& [name, extKey] : config_.extKeys)
        list.push_back({extKey.number, extKey.map});
    return list;
}

const MacroRecord* KeyboardPageModel::macroOf(const std::string& grpGuid,
                                              const std::string& macGuid) const {
    for (const MacroGroup& group : macros_.groups)
        if (group.guid == grpGuid)
            for (const MacroRecord& macro : group.macros)
                if (macro.guid == macGuid)
                    return &macro;
    return nullptr;
}

MacroRecord* KeyboardPageModel::macroAt(int group, int macro) {
    if (group < 0 || group >= int(macros_.groups.size()))
        return nullptr;
    std::vector<MacroRecord>& list = macros_.groups[std::size_t(group)].macros;
    if (macro < 0 || macro >= int(list.size()))
        return nullptr;
    return &list[std::size_t(macro)];
}

void KeyboardPageModel::changeBindCount(const std::string& grpGuid, const std::string& macGuid,
                                        int delta) {
    if (auto* macro = const_cast<MacroRecord*>(macroOf(grpGuid, macGuid)))
        macro->bindKeyCount = std::max(0, macro->bindKeyCount + delta);
}

std::string KeyboardPageModel::bindingText(const KeyBinding& binding) const {
    if (isMacroSlotCode(binding.code)) {
        const MacroRecord* macro = macroOf(binding.grpGuid, binding.macGuid);
        return macro ? kbpage::MacroPrefix + macro->name : std::string(kbpage::MacroNull);
    }
    return catalogue_.keyDisplayName(effectiveCode(binding), substitutions());
}

const KeyBinding* KeyboardPageModel::binding(const std::string& name) const {
    const auto p = std::size_t(profile());
    for (const BindingMap* map : {&config_.keys[p], &config_.otherKeys[p]})
        if (const auto found = map->find(name); found != map->end())
            return &found->second;
    return nullptr;
}

std::string KeyboardPageModel::tooltip(const std::string& name) const {
    const KeyBinding* found = binding(name);
    return found ? found->displayText : std::string(kUnknownKeyName);
}

std::string KeyboardPageModel::legend(const std::string& key) const {
    const auto found = config_.keyTemplate.find(key);
    if (found == config_.keyTemplate.end())
        return {};
    return keyCapLegend(catalogue_.keyDisplayName(found->second.defaultCode, substitutions()));
}

KeyPopupRequest KeyboardPageModel::popupRequest(const std::string& key) const {
    KeyPopupRequest request;
    request.key = key;
    const auto& map = config_.keys[std::size_t(profile())];
    const auto found = map.find(key);
    if (found == map.end()) {
        request.caption = kUnknownKeyName;
        request.currentText = kUnknownKeyName;
        return request;
    }
    const KeyBinding& binding = found->second;
    request.found = true;
    request.caption = catalogue_.keyDisplayName(binding.defaultCode, substitutions());
    request.currentText = binding.displayText;
    request.defaultCode = binding.defaultCode;
    request.code = effectiveCode(binding);
    request.defaultScanCode = usageToScanCode(request.defaultCode & 0xFF);
    request.scanCode = usageToScanCode(request.code & 0xFF);
    request.grpGuid = binding.grpGuid;
    request.macGuid = binding.macGuid;
    request.tab = tabForCode(request.code, request.defaultCode);
    return request;
}

KeyAssignResult KeyboardPageModel::assignKey(const std::string& key, const KeyChoice& choice) {
    lastAssignment_ = {};
    const int p = profile();
    BindingMap& map = config_.keys[std::size_t(p)];
    const auto found = map.find(key);
    if (found == map.end())
        return lastAssignment_;
    lastAssignment_.found = true;
    KeyBinding& binding = found->second;
    const bool hadMacro = isMacroSlotCode(binding.code);

    if (choice.tab == KeySetTab::Macro) {
        MacroRecord* chosen = macroAt(choice.group, choice.macro);
        if (!chosen)
            return lastAssignment_;
        const std::string& groupGuid = macros_.groups[std::size_t(choice.group)].guid;
        if (!hadMacro) {
            const std::optional<std::int32_t> slotCode = config_.takeFreeMacroCode(p);
            if (!slotCode) {
                lastAssignment_.limitReached = true;
                return lastAssignment_;
            }
            binding.code = *slotCode;
            ++chosen->bindKeyCount;
        } else if (binding.grpGuid != groupGuid || binding.macGuid != chosen->guid) {
            changeBindCount(binding.grpGuid, binding.macGuid, -1);
            ++chosen->bindKeyCount;
        }
        binding.grpGuid = groupGuid;
        binding.macGuid = chosen->guid;
        binding.displayText = kbpage::MacroPrefix + chosen->name;
        lastAssignment_.assigned = true;
        return lastAssignment_;
    }

    if (hadMacro) {
        std::vector<std::int32_t>& used = config_.usedMacroCodes[std::size_t(p)];
        used.erase(std::remove(used.begin(), used.end(), binding.code), used.end());
        changeBindCount(binding.grpGuid, binding.macGuid, -1);
    }
    switch (choice.tab) {
    case KeySetTab::Default:
        binding.code = binding.defaultCode;
        break;
    case KeySetTab::Disable:
        binding.code = DisabledKeyCode;
        break;
    default:
        binding.code = choice.code;
        break;
    }
    binding.grpGuid.clear();
    binding.macGuid.clear();
    binding.displayText = choice.text.empty() ? bindingText(binding) : choice.text;
    if (choice.tab == KeySetTab::Default)
        binding.displayText = bindingText(binding);
    lastAssignment_.assigned = true;
    return lastAssignment_;
}

ViewRows KeyboardPageModel::selectProfile(int newProfile, int fnKey) {
    if (newProfile < 0 || newProfile >= KeyboardProfileCount)
        return {};
    config_.currentProfile = newProfile;
    return showRows(fnKey);
}

ViewRows KeyboardPageModel::setFnFunction(int n, const std::string& itemName) {
    auto& map = config_.otherKeys[std::size_t(profile())];
    const auto found = map.find(fnName(n));
    if (found == map.end())
        return {};
    found->second.code = codeFromItemName(itemName);
    found->second.displayText = catalogue_.keyDisplayName(found->second.code, substitutions());
    return fnFunctionRows(n);
}

ViewRows KeyboardPageModel::setKnob(const std::string& knob, int scrollCode) {
    auto& map = config_.otherKeys[std::size_t(profile())];
    const auto found = map.find(knob);
    if (!isKnob(knob) || found == map.end())
        return {};
    found->second.code = scrollCode;
    found->second.displayText = catalogue_.scrollDisplayName(scrollCode);
    return markRow(knob);
}

bool KeyboardPageModel::toggleLock(const std::string& lock, bool wasOn) {
    auto& map = config_.otherKeys[std::size_t(profile())];
    const auto found = map.find(lock);
    if (!isLock(lock) || found == map.end())
        return false;
    const int before = found->second.code;
    found->second.code = wasOn ? 0 : 1;
    return lock == kbfiles::AllKeyLock && found->second.code == 1 && before != 1;
}

bool KeyboardPageModel::effectivelyChanged(const KeyBinding& binding) const {
    return binding.code != UnassignedKeyCode && binding.changed();
}

ViewRows KeyboardPageModel::markRow(const std::string& name) const {
    const KeyBinding* found = binding(name);
    if (!found)
        return {};
    return {{name, viewattr::Selected, viewBool(effectivelyChanged(*found))}};
}

ViewRows KeyboardPageModel::markRows() const {
    ViewRows rows;
    const auto p = std::size_t(profile());
    for (const auto& [name, binding] : config_.keys[p])
        if (isKeyControl(name))
            rows.push_back({name, viewattr::Selected, viewBool(effectivelyChanged(binding))});
    for (const auto& [name, binding] : config_.otherKeys[p])
        if (isKnob(name))
            rows.push_back({name, viewattr::Selected, viewBool(effectivelyChanged(binding))});
    return rows;
}

ViewRows KeyboardPageModel::fnFunctionRows(int n) const {
    ViewRows rows;
    if (n < 1 || n > FnKeyCount)
        return rows;
    rows.push_back({kbpage::FnKeyList, viewattr::SelectedItem, fnName(n)});
    const KeyBinding* fn = binding(fnName(n));
    if (!fn)
        return rows;
    // A code the catalogue does not name matches no item: the selection stays.
    const std::string item = itemValueOf(catalogue_, fn->code);
    if (item != kUnknownKeyName)
        rows.push_back({kbpage::FnFunctionList, viewattr::SelectedItem, item});
    return rows;
}

ViewRows KeyboardPageModel::showRows(int fnKey) const {
    ViewRows rows;
    rows.push_back({kbpage::ProfileList, "selectedid", std::to_string(profile())});
    appendRows(rows, markRows());
    appendRows(rows, fnFunctionRows(fnKey));
    for (const char* lock : {kbfiles::AltF4Lock, kbfiles::WinAppLock, kbfiles::AllKeyLock})
        if (const KeyBinding* found = binding(lock))
            rows.push_back({lock, viewattr::Selected, viewBool(found->code != 0)});
    return rows;
}

ViewRows KeyboardPageModel::legendRows() const {
    ViewRows rows;
    for (const auto& [name, binding] : config_.keyTemplate)
        if (isKeyControl(name))
            rows.push_back({name, viewattr::Text, legend(name)});
    return rows;
}

std::string KeyboardPageModel::knobMenuItem(const std::string& knob) const {
    const KeyBinding* found = binding(knob);
    return found ? scrollMenuItem(found->code) : std::string();
}

Outcome KeyboardPageModel::handCrossReference() {
    for (MacroGroup& group : macros_.groups)
        for (MacroRecord& macro : group.macros) {
            macro.bindings.erase(modelName_);
            std::vector<MacroKeyBinding> users;
            for (int p = 0; p < KeyboardProfileCount; ++p)
                for (const auto& [name, binding] : config_.keys[std::size_t(p)])
                    if (binding.grpGuid == group.guid && binding.macGuid == macro.guid &&
                        isMacroSlotCode(binding.code))
                        users.emplace_back(
                            kbpage::ProfileRowPrefix + std::to_string(p + 1),
                            catalogue_.keyDisplayName(binding.defaultCode, substitutions()));
            if (!users.empty())
                macro.bindings[modelName_] = std::move(users);
        }
    macros_.RebuildDocument();
    return macros_.SaveMacroFile();
}

Outcome KeyboardPageModel::save() {
    config_.lighting = panel_.effect();
    if (const Outcome saved = config_.SaveKeyboardConfig(folder_); !saved)
        return saved.shown(messagekey::Error, kbpage::SaveErr);
    if (const Outcome handed = handCrossReference(); !handed)
        return handed.shown(messagekey::Error, kbpage::SaveErr);
    return Outcome::done();
}

KeyboardConfig KeyboardPageModel::applyCopy() const {
    KeyboardConfig copy = config_;
    copy.lighting = panel_.effect();
    return copy;
}

Outcome KeyboardPageModel::importFrom(const std::filesystem::path& source) {
    const Outcome imported = config_.ImportKeyboardConfig(folder_, modelName_, source);
    if (!imported)
        return imported.hasMessage() ? imported
                                     : imported.shown(messagekey::Error, messagekey::ImportErr);
    return load(folder_, modelName_, resourceRoot_);
}

Outcome KeyboardPageModel::exportTo(const std::filesystem::path& target,
                                    std::filesystem::path* written) {
    std::filesystem::path file = target;
    file.replace_filename(withExchangeExtension(
        file.filename().string(), kbfiles::ExchangeExtension, kbfiles::ExchangeDefaultExtension));
    if (written)
        *written = file;
    const Outcome exported = config_.ExportKeyboardConfig(folder_, modelName_, file);
    if (!exported)
        return exported.hasMessage() ? exported
                                     : exported.shown(messagekey::Error, kbpage::ExportErr);
    return exported;
}

Outcome KeyboardPageModel::reset() {
    const Outcome reset = config_.ResetKeyboardConfig(folder_);
    panel_.show(config_.lighting);
    rebuildKeyTexts();
    if (!reset)
        return reset.shown(messagekey::Error, kbpage::SaveErr);
    if (const Outcome handed = handCrossReference(); !handed)
        return handed.shown(messagekey::Error, kbpage::SaveErr);
    return Outcome::done();
}

} // namespace varnix
