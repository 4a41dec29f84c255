// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/MousePageModel.h"

#include "common/Diagnostics.h"
#include "device/MouseFeatureProfile.h"
#include "mouse/MouseConfigFile.h"

#include <algorithm>

namespace varnix {
namespace {

namespace mp = mousepage;

std::string indexed(const char* prefix, int index) {
    return std::string(prefix) + std::to_string(index);
}

void visibleRow(ViewRows& rows, const std::string& name, bool shown) {
    rows.push_back({name, viewattr::Visible, viewBool(shown)});
}

// The controls of one column of the mouse's mode table.
enum MouseLedPart : unsigned {
    Colour = 1u << 0,
    Bright = 1u << 1,
    Speed = 1u << 2,
    Symmetry = 1u << 3,
    Direction = 1u << 4,
    TwoWay = 1u << 5,
    Cover = 1u << 6,
};

// Modes 0..13 of the mouse; mode 11 is mode 1 with its enable boxes locked.
constexpr unsigned MouseModeParts[] = {
    Bright | Speed,                                                  // 0
    Colour | Bright | Speed,                                         // 1
    Bright,                                                          // 2
    Colour | Bright | Speed | Symmetry | Direction | TwoWay | Cover, // 3
    Colour | Bright | Speed | Symmetry | Direction | TwoWay,         // 4
    Colour | Bright | Speed | Symmetry | Direction | TwoWay,         // 5
    Bright | Speed,                                                  // 6
    Bright | Speed | Symmetry | Direction,                           // 7
    Bright | Speed,                                                  // 8
    Bright,                                                          // 9
    Bright | Speed | Direction,                                      // 10
    Colour | Bright | Speed,                                         // 11
    Colour | Bright,                                                 // 12
    0,                                                               // 13
};
constexpr int LockedEnablesMode = 11;

} // namespace

ViewRows mouseLedModeRows(const LedEffect& effect) {
    ViewRows rows;
    const int mode = effect.mode;
    if (mode < 0 || mode >= int(std::size(MouseModeParts)))
        return rows;
    const LedPanel panel = *LedPanel::fromPrefix(MouseLedPrefix);
    const unsigned parts = MouseModeParts[std::size_t(mode)];
    const bool locked = mode == LockedEnablesMode;
    visibleRow(rows, panel.control("label", "ColText"), parts & Colour);
    for (int i = 0; i < LedSlotCount; ++i) {
        const bool on = effect.slots[std::size_t(i)].enabled != 0;
        visibleRow(rows, panel.colourButton(i), parts & Colour);
        visibleRow(rows, panel.enableBox(i), parts & Colour);
        rows.push_back({panel.colourButton(i), viewattr::Enabled, viewBool(on || locked)});
        rows.push_back({panel.enableBox(i), viewattr::Selected, viewBool(on || locked)});
        rows.push_back({panel.enableBox(i), viewattr::Enabled, viewBool(!locked)});
    }
    for (const char* name : {"BrightText", "BrightValText"})
        visibleRow(rows, panel.control("label", name), parts & Bright);
    visibleRow(rows, panel.control("slider", "BrightVal"), parts & Bright);
    for (const char* name : {"SpeedText", "SpeedValText"})
        visibleRow(rows, panel.control("label", name), parts & Speed);
    visibleRow(rows, panel.control("slider", "SpeedVal"), parts & Speed);
    visibleRow(rows, panel.control("label", "SymmeText"), parts & Symmetry);
    visibleRow(rows, panel.control("Chk", "SymnetryVal"), parts & Symmetry);
    visibleRow(rows, panel.control("label", "DirtectText"), parts & Direction);
    visibleRow(rows, panel.control("opt", "BackwardVal"), parts & Direction);
    visibleRow(rows, panel.control("opt", "PositiveVal"), parts & Direction);
    visibleRow(rows, panel.control("opt", "TwowayVal"), parts & TwoWay);
    visibleRow(rows, panel.control("opt", "CoverVal"), parts & Cover);
    return rows;
}

MousePageModel::MousePageModel() : panel_(*LedPanel::fromPrefix(MouseLedPrefix)) {}

Outcome MousePageModel::loadFunctionTable(const std::filesystem::path& resourceRoot) {
    std::string problems;
    const auto result = table_.load(resourceRoot / MouseFunctionTable::kFileName, &problems);
    if (result == MouseFunctionTable::LoadResult::Loaded)
        return Outcome::done();
    return Outcome::failure(Status::Invalid, "the mouse function texts: " + problems);
}

Outcome MousePageModel::load(const std::filesystem::path& modelFolder, std::string mouseName,
                             std::vector<MacroGroup> macros) {
    const bool otherMouse = folder_ != modelFolder;
    folder_ = modelFolder;
    mouseName_ = std::move(mouseName);
    macros_ = std::move(macros);
    // Another model's settings must never stand for this mouse: without readable files it
    // starts from its factory keys and plain defaults.
    if (otherMouse)
        model_ = defaultModel(MouseFeatureProfile::read(folder_));
    const Outcome loaded = reload();
    if (!loaded && otherMouse) {
        model_.refreshKeyTexts([this](int code) { return table_.secondText(code); });
        takeLighting();
    }
    return loaded;
}

MouseConfigModel MousePageModel::defaultModel(const MouseFeatureProfile& feature) {
    MouseConfigModel model;
    model.applyFeatureProfile(feature);
    for (MouseKeyProfile& profile : model.profiles) {
        profile = MouseConfigModel::templateProfile();
        for (auto& [name, binding] : profile) {
            const int k = MouseConfigModel::bindingIndex(name);
            if (k >= 0 && k < mousemodel::FeatureKeyCount)
                binding.code = model.keyDefault[std::size_t(k)];
        }
    }
    // 400, 800, 1600, 2400, 3200 and 4800 DPI in the colours of the rainbow.
    const int values[] = {2, 4, 8, 11, 12, 14};
    const std::uint32_t colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                     0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF};
    model.dpiLevels.clear();
    for (int n = 0; n < mousemodel::DpiLevelCount; ++n)
        model.dpiLevels.push_back({1, values[n], colours[n]});
    model.cruseldpi = 2;
    model.firevalue = 80;
    model.curselmode = 1;
    model.brightnessvalue = 4;
    model.frequencyvalue = 3;
    model.ledColours.assign(mousemodel::LedSlotCount, {1, 0xFF3D8BFD});
    return model;
}

Outcome MousePageModel::reload() {
    MouseConfigModel fresh = model_;
    Outcome outcome = MouseConfigFile::load(MouseConfigFile::configPath(folder_), fresh);
    if (outcome.status == Status::Missing)
        outcome = MouseConfigFile::load(MouseConfigFile::resetPath(folder_), fresh);
    if (!outcome.ok()) {
        debugOutput("mouse page: " + outcome.detail + "\n");
        return outcome.hasMessage() ? outcome : outcome.shown(messagekey::Tip, mp::JsonWarn);
    }
    fresh.applyFeatureProfile(MouseFeatureProfile::read(folder_));
    fresh.refreshKeyTexts([this](int code) { return table_.secondText(code); });
    // A file may hold fewer levels or slots than the page shows; the missing ones are off.
    fresh.dpiLevels.resize(mousemodel::DpiLevelCount);
    fresh.ledColours.resize(mousemodel::LedSlotCount);
    model_ = std::move(fresh);
    resolveMacroKeys();
    takeLighting();
    return Outcome::done();
}

void MousePageModel::resolveMacroKeys() {
    for (MouseKeyProfile& profile : model_.profiles)
        for (auto& [name, binding] : profile) {
            if (binding.code < mousekeysel::MacroCode)
                continue;
            const MacroRecord* macro = nullptr;
            for (const MacroGroup& group : macros_)
                if (group.guid == binding.grpGuid)
                    for (const MacroRecord& record : group.macros)
                        if (record.guid == binding.macGuid)
                            macro = &record;
            if (macro) {
                binding.text = mousekeysel::MacroPrefix + macro->name;
                continue;
            }
            // The macro was deleted: the key plays its factory function again.
            binding.code = binding.defaultCode;
            binding.text = table_.secondText(binding.code);
            binding.grpGuid.clear();
            binding.macGuid.clear();
        }
}

void MousePageModel::takeLighting() {
    LedEffect effect = panel_.effect();
    effect.mode = int(model_.curselmode);
    effect.brightness = int(model_.brightnessvalue);
    effect.speed = int(model_.frequencyvalue);
    effect.symmetric = model_.issysmetry;
    effect.direction = int(model_.directionsel);
    for (std::size_t i = 0; i < effect.slots.size(); ++i) {
        const LedColourSlot slot =
            i < model_.ledColours.size() ? model_.ledColours[i] : LedColourSlot{};
        effect.slots[i] = {slot.enabled, slot.colour};
    }
    panel_.show(effect);
}

MouseConfigModel MousePageModel::config() const {
    MouseConfigModel copy = model_;
    const LedEffect& effect = panel_.effect();
    copy.curselmode = std::uint32_t(effect.mode);
    copy.brightnessvalue = std::uint32_t(effect.brightness);
    copy.frequencyvalue = std::uint32_t(effect.speed);
    copy.issysmetry = effect.symmetric;
    copy.directionsel = std::uint32_t(effect.direction);
    copy.ledColours.clear();
    for (const ColourSlot& slot : effect.slots)
        copy.ledColours.push_back({slot.enabled, slot.colour});
    return copy;
}

Outcome MousePageModel::save() {
    if (!loaded())
        return Outcome::failure(Status::Refused, "no mouse is shown");
    model_ = config();
    Outcome saved = MouseConfigFile::save(MouseConfigFile::configPath(folder_), model_);
    if (!saved)
        return saved.hasMessage() ? saved : saved.shown(messagekey::Error, mp::SaveErr);
    recordMacroUsage(macros_, model_, mouseName_, table_);
    return saved;
}

Outcome MousePageModel::importFrom(const std::filesystem::path& source) {
    Outcome imported = MouseConfigFile::importFrom(folder_, source, mouseName_);
    if (imported.status == Status::Missing || imported.status == Status::WriteFailed ||
        imported.ok()) {
        const Outcome reloaded = reload();
        if (!reloaded)
            return reloaded;
    }
    return imported;
}

Outcome MousePageModel::exportTo(const std::filesystem::path& target) const {
    std::filesystem::path file = target;
    const std::string name = file.filename().string();
    const std::string extension = mousefile::ExchangeExtension;
    if (name.size() < extension.size() ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
        file += extension;
    Outcome exported = MouseConfigFile::exportTo(folder_, file, mouseName_);
    if (!exported && !exported.hasMessage())
        return exported.shown(messagekey::Error, "ExportErr");
    return exported;
}

Outcome MousePageModel::reset() {
    const Outcome reset = MouseConfigFile::reset(folder_);
    if (!reset)
        return reset.hasMessage() ? reset : reset.shown(messagekey::Error, mp::JsonWarn);
    const Outcome reloaded = reload();
    if (!reloaded)
        return reloaded;
    recordMacroUsage(macros_, model_, mouseName_, table_);
    return reset;
}

int MousePageModel::keyCount() const {
    return model_.keyNum > 0 && model_.keyNum <= mousemodel::BindingCount
               ? model_.keyNum
               : mousemodel::BindingCount;
}

ViewRows MousePageModel::keyRows() const {
    ViewRows rows;
    for (const auto& [name, binding] : model_.profiles[std::size_t(currentProfile())])
        rows.push_back({name, viewattr::Text, binding.text});
    return rows;
}

ViewRows MousePageModel::dpiRows() const {
    ViewRows rows;
    const int current = int(model_.cruseldpi);
    for (int n = 0; n < mousemodel::DpiLevelCount; ++n) {
        const DpiLevel level = std::size_t(n) < model_.dpiLevels.size()
                                   ? model_.dpiLevels[std::size_t(n)]
                                   : DpiLevel{};
        const std::string on = viewBool(level.enabled != 0);
        rows.push_back({indexed(mp::DpiEnablePrefix, n), viewattr::Selected, on});
        rows.push_back({indexed(mp::DpiSelectPrefix, n), viewattr::Enabled, on});
        rows.push_back({indexed(mp::DpiColourPrefix, n), viewattr::Enabled, on});
        rows.push_back(
            {indexed(mp::DpiSelectPrefix, n), viewattr::Selected, viewBool(n == current)});
        rows.push_back({indexed(mp::DpiSelectPrefix, n), viewattr::Text, dpiText(level.dpiIndex)});
        rows.push_back(
            {indexed(mp::DpiColourPrefix, n), viewattr::BkColor, viewColour(level.colour)});
    }
    if (current >= 0 && current < int(model_.dpiLevels.size())) {
        const DpiLevel& level = model_.dpiLevels[std::size_t(current)];
        rows.push_back({mp::DpiSlider, viewattr::Value, std::to_string(level.dpiIndex)});
        rows.push_back({mp::DpiSliderValue, viewattr::Text, dpiText(level.dpiIndex)});
    }
    for (int i = 0; i < mp::RateCount; ++i)
        rows.push_back({indexed(mp::RatePrefix, i), viewattr::Selected,
                        viewBool(i == int(model_.rateusbvalue))});
    rows.push_back({mp::FireSlider, viewattr::Value, std::to_string(model_.firevalue)});
    rows.push_back({mp::FireValue, viewattr::Text, std::to_string(model_.firevalue)});
    return rows;
}

ViewRows MousePageModel::withMouseLayout(ViewRows panelRows) const {
    appendRows(panelRows, mouseLedModeRows(panel_.effect()));
    return panelRows;
}

ViewRows MousePageModel::ledRows() const {
    return withMouseLayout(panel_.show());
}

ViewRows MousePageModel::profileRows() const {
    return {{mp::ProfileList, viewattr::SelectedItem,
             mp::ProfileItemPrefix + std::to_string(currentProfile() + 1)}};
}

ViewRows MousePageModel::show() const {
    ViewRows rows = profileRows();
    // Keys the model lacks are hidden with their marks.
    for (int k = 0; k < mousemodel::BindingCount; ++k) {
        const bool present = k < keyCount();
        visibleRow(rows, MouseConfigModel::bindingName(k), present);
        visibleRow(rows, indexed(mp::KeyMarkPrefix, k), present);
        rows.push_back({indexed(mp::KeyMarkPrefix, k), viewattr::Selected, viewBool(false)});
    }
    appendRows(rows, keyRows());
    appendRows(rows, dpiRows());
    appendRows(rows, ledRows());
    return rows;
}

ViewRows MousePageModel::setDpiLevelEnabled(int level, bool checked) {
    auto& levels = model_.dpiLevels;
    if (level < 0 || level >= int(levels.size()))
        return {};
    levels[std::size_t(level)].enabled = checked ? 1 : 0;
    const bool anyOn =
        std::any_of(levels.begin(), levels.end(), [](const DpiLevel& l) { return l.enabled == 1; });
    if (!anyOn) {
        // The last enabled level stays on; the box is ticked again.
        levels[std::size_t(level)].enabled = 1;
        return {{indexed(mp::DpiEnablePrefix, level), viewattr::Selected, viewBool(true)}};
    }
    ViewRows rows;
    if (!checked && level == int(model_.cruseldpi)) {
        int next = level;
        do
            next = (next + 1) % int(levels.size());
        while (levels[std::size_t(next)].enabled == 0);
        appendRows(rows, selectDpiLevel(next));
    }
    rows.push_back({indexed(mp::DpiSelectPrefix, level), viewattr::Enabled, viewBool(checked)});
    rows.push_back({indexed(mp::DpiColourPrefix, level), viewattr::Enabled, viewBool(checked)});
    return rows;
}

ViewRows MousePageModel::selectDpiLevel(int level) {
    if (level < 0 || level >= int(model_.dpiLevels.size()))
        return {};
    model_.cruseldpi = std::uint32_t(level);
    const DpiLevel& current = model_.dpiLevels[std::size_t(level)];
    ViewRows rows;
    for (int n = 0; n < int(model_.dpiLevels.size()); ++n)
        rows.push_back({indexed(mp::DpiSelectPrefix, n), viewattr::Selected, viewBool(n == level)});
    rows.push_back({mp::DpiSlider, viewattr::Value, std::to_string(current.dpiIndex)});
    rows.push_back({mp::DpiSliderValue, viewattr::Text, dpiText(current.dpiIndex)});
    return rows;
}

ViewRows MousePageModel::setDpiValue(int valueIndex) {
    const int level = int(model_.cruseldpi);
    if (level < 0 || level >= int(model_.dpiLevels.size()))
        return {};
    const int value = std::clamp(valueIndex, mp::FirstDpiValue, mp::LastDpiValue);
    model_.dpiLevels[std::size_t(level)].dpiIndex = value;
    ViewRows rows;
    if (value != valueIndex)
        rows.push_back({mp::DpiSlider, viewattr::Value, std::to_string(value)});
    rows.push_back({mp::DpiSliderValue, viewattr::Text, dpiText(value)});
    rows.push_back({indexed(mp::DpiSelectPrefix, level), viewattr::Text, dpiText(value)});
    return rows;
}

ViewRows MousePageModel::setDpiColour(int level, std::uint32_t colour) {
    if (level < 0 || level >= int(model_.dpiLevels.size()))
        return {};
    model_.dpiLevels[std::size_t(level)].colour = colour;
    return {{indexed(mp::DpiColourPrefix, level), viewattr::BkColor, viewColour(colour)}};
}

ViewRows MousePageModel::setPollingRate(int option) {
    if (option < 0 || option >= mp::RateCount)
        return {};
    model_.rateusbvalue = std::uint32_t(option);
    return {};
}

ViewRows MousePageModel::setFire(int value) {
    model_.firevalue = std::uint32_t(std::max(0, value));
    return {{mp::FireValue, viewattr::Text, std::to_string(model_.firevalue)}};
}

ViewRows MousePageModel::selectProfile(int profile) {
    model_.curporfile = std::uint32_t(profile & 3);
    ViewRows rows = profileRows();
    appendRows(rows, keyRows());
    return rows;
}

Outcome MousePageModel::canChangeKey(int key) const {
    const MouseKeyProfile& profile = model_.profiles[std::size_t(currentProfile())];
    const MouseKeyBinding* binding = model_.binding(currentProfile(), key);
    const auto codeOne = std::count_if(profile.begin(), profile.end(),
                                       [](const auto& entry) { return entry.second.code == 1; });
    if (binding && binding->code == 1 && codeOne == 1)
        return Outcome::failure(Status::Refused, messagekey::Tip, mp::OnlyOneKey,
                                "the only key with the primary function keeps it");
    return Outcome::done();
}

KeyOpening MousePageModel::openKey(int key) const {
    return openKeySelection(model_, macros_, table_, key);
}

KeyAssignment MousePageModel::assignKey(const KeyOpening& opening, const MouseKeyChoice& choice) {
    return varnix::assignKey(model_, macros_, table_, opening, choice);
}

ViewRows MousePageModel::showDpiFromDevice(std::uint64_t wParam) {
    return selectDpiLevel(dpiLevelOfReport(wParam));
}

std::optional<DpiPushInfo> MousePageModel::dpiPushFor(std::uint64_t wParam,
                                                      const std::string& deviceName) const {
    const MouseKeyBinding* binding = model_.binding(currentProfile(), keyOfReport(wParam));
    const int level = dpiLevelOfReport(wParam);
    if (!binding || level >= int(model_.dpiLevels.size()))
        return std::nullopt;
    if (binding->code != 6 && binding->code != 11 && binding->code != 12)
        return std::nullopt;
    const int index = model_.dpiLevels[std::size_t(level)].dpiIndex;
    return DpiPushInfo{level + 1, dpiText(index), deviceName, index};
}

ViewRows MousePageModel::showProfileFromDevice(std::uint64_t wParam) {
    return selectProfile(profileOfReport(wParam));
}

void MousePageModel::recordMacroUsage(std::vector<MacroGroup>& macros,
                                      const MouseConfigModel& model, const std::string& mouseName,
                                      const MouseFunctionTable& table) {
    for (MacroGroup& group : macros)
        for (MacroRecord& macro : group.macros) {
            macro.bindings.erase(mouseName);
            std::vector<MacroKeyBinding> keys;
            for (int p = 0; p < mousemodel::ProfileCount; ++p)
                for (const auto& [name, binding] : model.profiles[std::size_t(p)])
                    if (!binding.grpGuid.empty() && !binding.macGuid.empty() &&
                        binding.grpGuid == group.guid && binding.macGuid == macro.guid)
                        keys.emplace_back("MouseProfile" + std::to_string(p + 1),
                                          table.secondText(binding.defaultCode));
            if (!keys.empty())
                macro.bindings[mouseName] = std::move(keys);
        }
}

} // namespace varnix
