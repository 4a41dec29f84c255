// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/MacroPageModel.h"

#include "common/Diagnostics.h"

#include <map>
#include <utility>

namespace varnix {
namespace {

const char* const RepeatOptions[] = {MacroStore::OptionCycleUntilRelease,
                                     MacroStore::OptionCycleUntilClick,
                                     MacroStore::OptionCycleTimes};
constexpr const char* CountField = "Edit_Macro_Time";

Outcome refusal(const char* messageKey, std::string detail) {
    return Outcome::failure(Status::Refused, macropage::Tip, messageKey, std::move(detail));
}

} // namespace

MacroPageModel::MacroPageModel(std::filesystem::path resourceRoot)
    : store_(resourceRoot), resourceRoot_(std::move(resourceRoot)) {}

Outcome MacroPageModel::open() {
    const Outcome loaded = store_.LoadMacroFile();
    opened_ = loaded.ok();
    clearSelection();
    return loaded;
}

std::vector<MacroTreeEntry> MacroPageModel::treeEntries() const {
    std::vector<MacroTreeEntry> entries;
    for (std::size_t g = 0; g < store_.groups.size(); ++g) {
        const MacroGroup& group = store_.groups[g];
        entries.push_back({int(g), -1, group.name});
        for (std::size_t m = 0; m < group.macros.size(); ++m)
            entries.push_back({int(g), int(m), group.macros[m].name});
    }
    return entries;
}

int MacroPageModel::treeIndexOf(int group, int macro) const {
    int index = 0;
    for (std::size_t g = 0; g < store_.groups.size(); ++g) {
        if (int(g) == group && macro < 0)
            return index;
        ++index;
        const int count = int(store_.groups[g].macros.size());
        if (int(g) == group)
            return macro < count ? index + macro : -1;
        index += count;
    }
    return -1;
}

bool MacroPageModel::selectMacro(int g, int m) {
    if (!store_.SelectMacro(g, m))
        return false;
    group_ = g;
    macro_ = m;
    rebuildRows();
    return true;
}

void MacroPageModel::selectGroup(int g) {
    group_ = g >= 0 && std::size_t(g) < store_.groups.size() ? g : -1;
    macro_ = -1;
    rows_.clear();
}

void MacroPageModel::clearSelection() {
    group_ = -1;
    macro_ = -1;
    rows_.clear();
}

void MacroPageModel::rebuildRows() {
    rows_.clear();
    const int count = std::min<int>(store_.current.data.num, MacroSlotCount);
    rows_.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        rows_.push_back(store_.ItemDisplayText(i));
}

void MacroPageModel::refreshCurrent() {
    if (macroSelected() && store_.SelectMacro(group_, macro_))
        rebuildRows();
}

ViewRows MacroPageModel::repeatRows() const {
    ViewRows rows;
    const bool macro = macroSelected();
    const int mode = macro ? store_.current.data.rptType & MacroRepeatModeMask : 0;
    // Modes 0 and 3 count; 1 and 2 repeat until the bound key is clicked again or released.
    const char* chosen = mode == MacroRepeatUntilRelease ? MacroStore::OptionCycleUntilRelease
                         : mode == MacroRepeatUntilClick ? MacroStore::OptionCycleUntilClick
                                                         : MacroStore::OptionCycleTimes;
    for (const char* option : RepeatOptions) {
        rows.push_back({option, viewattr::Enabled, viewBool(macro)});
        rows.push_back({option, viewattr::Selected, viewBool(option == chosen)});
    }
    const bool counting = macro && chosen == MacroStore::OptionCycleTimes;
    rows.push_back({CountField, viewattr::Text,
                    counting ? std::to_string(std::max<int>(store_.current.data.macRpt, 1))
                             : std::string("1")});
    rows.push_back({CountField, viewattr::Enabled, viewBool(counting)});
    return rows;
}

ViewRows MacroPageModel::bindingRows() const {
    const MacroRecord* macro = shownMacro();
    const std::size_t count = macro ? macroBindingRows(*macro).size() : 0;
    const std::string shown = viewBool(count > 0);
    return {{"label_bindkeys", viewattr::Visible, shown},
            {"label_bindkeys_num", viewattr::Visible, shown},
            {"label_bindkeys_num", viewattr::Text, std::to_string(count)},
            {"VLayout_BindKeys_Info", viewattr::Visible, shown}};
}

Outcome MacroPageModel::addGroup(const std::string& groupBase, const std::string& macroBase) {
    const std::string name = store_.UniqueDefaultName(groupBase, MacroNameScope::Groups);
    const int after = group_ >= 0 ? group_ : int(store_.groups.size()) - 1;
    const std::size_t before = store_.groups.size();
    if (Outcome added = store_.AddGroup(after, name); !added)
        return added;
    // The store puts it after `after`, or at the end.
    const int g = store_.groups.size() > before && after + 1 < int(store_.groups.size())
                      ? after + 1
                      : int(store_.groups.size()) - 1;
    selectGroup(g);
    return addMacro(groupBase, macroBase);
}

Outcome MacroPageModel::addMacro(const std::string& groupBase, const std::string& macroBase) {
    if (store_.groups.empty())
        return addGroup(groupBase, macroBase);
    if (group_ < 0)
        selectGroup(0);
    const int g = group_;
    const int count = int(store_.groups[std::size_t(g)].macros.size());
    const int after = macro_ >= 0 ? macro_ : count - 1;
    const std::string name = store_.UniqueDefaultName(macroBase, MacroNameScope::MacrosOfGroup, g);
    if (Outcome added = store_.AddMacro(g, after, name); !added)
        return added;
    const int m = count == 0 ? 0 : std::min(after + 1, count);
    group_ = g;
    macro_ = m;
    const Outcome repeated = store_.SetMacroRepeat(g, m, MacroStore::OptionCycleTimes, 1);
    rebuildRows();
    return repeated;
}

std::string MacroPageModel::renameGroup(int g, const std::string& typed, Outcome* outcome) {
    if (g < 0 || std::size_t(g) >= store_.groups.size())
        return typed;
    MacroGroup& group = store_.groups[std::size_t(g)];
    const std::string old = group.name;
    const std::string name = renamedName(typed, old, [&](const std::string& wanted) {
        group.name.clear(); // the group's own name does not count as taken
        std::string unique = store_.UniqueDefaultName(wanted, MacroNameScope::Groups);
        group.name = old;
        return unique;
    });
    if (name != old) {
        const Outcome renamed = store_.RenameGroup(g, name);
        if (outcome)
            *outcome = renamed;
        if (!renamed)
            return old;
    }
    return name;
}

std::string MacroPageModel::renameMacro(int g, int m, const std::string& typed, Outcome* outcome) {
    if (g < 0 || std::size_t(g) >= store_.groups.size() || m < 0 ||
        std::size_t(m) >= store_.groups[std::size_t(g)].macros.size())
        return typed;
    MacroRecord& macro = store_.groups[std::size_t(g)].macros[std::size_t(m)];
    const std::string old = macro.name;
    const std::string name = renamedName(typed, old, [&](const std::string& wanted) {
        macro.name.clear();
        std::string unique = store_.UniqueDefaultName(wanted, MacroNameScope::MacrosOfGroup, g);
        macro.name = old;
        return unique;
    });
    if (name == old)
        return old;
    // RenameMacro commits current as the macro: it must be that macro.
    const MacroRecord shown = store_.current;
    const bool renamingShown = g == group_ && m == macro_;
    store_.SelectMacro(g, m);
    const Outcome renamed = store_.RenameMacro(g, m, name);
    if (!renamingShown) {
        store_.current = shown;
    }
    if (outcome)
        *outcome = renamed;
    return renamed ? name : old;
}

bool MacroPageModel::groupIsBound(int g) const {
    if (g < 0 || std::size_t(g) >= store_.groups.size())
        return false;
    for (const MacroRecord& macro : store_.groups[std::size_t(g)].macros)
        if (macroIsBound(macro))
            return true;
    return false;
}

bool MacroPageModel::macroIsBoundAt(int g, int m) const {
    if (g < 0 || std::size_t(g) >= store_.groups.size())
        return false;
    const auto& macros = store_.groups[std::size_t(g)].macros;
    return m >= 0 && std::size_t(m) < macros.size() && macroIsBound(macros[std::size_t(m)]);
}

Outcome MacroPageModel::deleteGroup(int g) {
    if (Outcome deleted = store_.DeleteGroup(g); !deleted)
        return deleted;
    const int left = int(store_.groups.size());
    if (left == 0)
        clearSelection();
    else
        selectGroup(std::min(g, left - 1));
    return Outcome::done();
}

Outcome MacroPageModel::deleteMacro(int g, int m) {
    if (Outcome deleted = store_.DeleteMacro(g, m); !deleted)
        return deleted;
    const int left = int(store_.groups[std::size_t(g)].macros.size());
    if (left == 0)
        selectGroup(g);
    else
        selectMacro(g, std::min(m, left - 1));
    return Outcome::done();
}

Outcome MacroPageModel::checkInsert() const {
    if (!macroSelected())
        return refusal(macropage::SelWarn, "no macro is selected");
    if (store_.current.data.num > macropage::MaxEditableItems)
        return refusal(macropage::Exceed, formatText("the macro holds %d items already",
                                                     int(store_.current.data.num)));
    return Outcome::done();
}

Outcome MacroPageModel::insertItem(int selectedRow, const MacroItemView& item, int* inserted) {
    if (!macroSelected())
        return refusal(macropage::SelWarn, "no macro is selected");
    const int at = insertPosition(selectedRow, insertSide_, int(rows_.size()));
    Outcome outcome = store_.InsertMacroItem(group_, macro_, at, item);
    rebuildRows();
    if (inserted)
        *inserted = outcome ? at : selectedRow;
    return outcome;
}

Outcome MacroPageModel::editItem(int row, const MacroItemView& item) {
    if (!macroSelected())
        return refusal(macropage::SelWarn, "no macro is selected");
    MacroData& data = store_.current.data;
    const int at = row >= 0 && row < int(data.num) ? row : 0;
    if (data.num == 0)
        return Outcome::failure(Status::Refused, "the macro has no item to edit");
    data.macVal[std::size_t(at)] = static_cast<std::uint8_t>(item.value);
    data.macSta[std::size_t(at)] = static_cast<std::uint8_t>(item.status);
    data.macDly[std::size_t(at)] = static_cast<std::uint16_t>(std::clamp(item.delay, 0, 0xFFFF));
    if (item.value == MacroKindPointerMove)
        data.extVal[std::size_t(at)] = parsePointerMoveText(item.text);
    store_.groups[std::size_t(group_)].macros[std::size_t(macro_)] = store_.current;
    Outcome committed = store_.CommitMacro(group_, macro_);
    rebuildRows();
    return committed;
}

Outcome MacroPageModel::deleteRow(int row, int* next) {
    if (!macroSelected() || row < 0 || row >= int(rows_.size()))
        return refusal(macropage::SelOne, "no row is selected");
    Outcome deleted = store_.DeleteMacroItem(group_, macro_, row);
    rebuildRows();
    if (next)
        *next = rowAfterDelete(row, int(rows_.size()));
    return deleted;
}

Outcome MacroPageModel::chooseRepeatOption(const std::string& option,
                                           const std::string& countField) {
    if (!macroSelected())
        return Outcome::done();
    const int count = option == MacroStore::OptionCycleTimes ? repeatCountOf(countField) : 1;
    return store_.SetMacroRepeat(group_, macro_, option, count);
}

Outcome MacroPageModel::commitRepeatCount(const std::string& countField) {
    if (!macroSelected())
        return Outcome::done();
    return store_.SetMacroRepeat(group_, macro_, MacroStore::OptionCycleTimes,
                                 repeatCountOf(countField));
}

Outcome MacroPageModel::checkRecord() const {
    if (group_ < 0)
        return Outcome::failure(Status::Refused, "nothing is selected");
    if (!macroSelected())
        return refusal(macropage::SelMacro, "a group, not a macro, is selected");
    return Outcome::done();
}

MacroRecorder::Selection MacroPageModel::recorderSelection() const {
    if (group_ < 0)
        return MacroRecorder::Selection::Nothing;
    return macroSelected() ? MacroRecorder::Selection::Macro : MacroRecorder::Selection::Group;
}

Outcome MacroPageModel::finishRecording(const RecordingResult& recording) {
    if (!macroSelected())
        return Outcome::failure(Status::Refused, "the recorded macro is no longer selected");
    Outcome stored = applyRecording(store_, group_, macro_, recording);
    rebuildRows();
    return stored;
}

Outcome MacroPageModel::importGroup(const std::filesystem::path& path, MacroImportFormat format) {
    const int at = store_.groups.empty() ? 0 : group_ + 1;
    const std::size_t before = store_.groups.size();
    Outcome imported = store_.ImportGroup(at, path, format);
    if (!imported)
        return imported;
    clearSelection();
    if (store_.groups.size() > before)
        selectGroup(std::min<int>(std::max(at, 0), int(store_.groups.size()) - 1));
    return imported;
}

Outcome MacroPageModel::exportGroup(int g, const std::filesystem::path& path) {
    return store_.ExportGroup(g, path);
}

Outcome MacroPageModel::reset() {
    Outcome reset = store_.ResetMacros();
    clearSelection();
    return reset;
}

Outcome MacroPageModel::takeBindings(const MacroStore& source) {
    if (!opened_)
        return Outcome::done(); // nothing read yet, so nothing to save over the file
    // (group GUID, macro GUID) -> the record of `source`.
    std::map<std::pair<std::string, std::string>, const MacroRecord*> given;
    for (const MacroGroup& group : source.groups)
        for (const MacroRecord& macro : group.macros)
            given[{group.guid, macro.guid}] = &macro;
    for (MacroGroup& group : store_.groups)
        for (MacroRecord& macro : group.macros)
            if (auto found = given.find({group.guid, macro.guid}); found != given.end()) {
                macro.bindKeyCount = found->second->bindKeyCount;
                macro.bindings = found->second->bindings;
            }
    if (macroSelected()) {
        const MacroRecord& stored = store_.groups[std::size_t(group_)].macros[std::size_t(macro_)];
        store_.current.bindKeyCount = stored.bindKeyCount;
        store_.current.bindings = stored.bindings;
    }
    store_.RebuildDocument();
    return store_.SaveMacroFile();
}

Outcome MacroPageModel::takeBindingsFromFile() {
    // Before the page has read the macro file there is nothing to bring up to date: the file the
    // device page wrote is the truth, and saving the empty store would wipe it.
    if (!opened_)
        return Outcome::done();
    MacroStore written(resourceRoot_);
    if (Outcome loaded = written.LoadMacroFile(); !loaded)
        return loaded;
    return takeBindings(written);
}

} // namespace varnix
