// SPDX-License-Identifier: GPL-3.0-or-later
// The macro page's model: the macro store, what is selected in the tree and in the item list,
// and every edit the page offers, named after what the user does. Refusals come back as
// outcomes with the page's message keys ("SelWarn", "Exceed", "SelOne", "SelMacro").
#pragma once

#include "common/Outcome.h"
#include "common/ViewRow.h"
#include "macro/MacroPageRules.h"
#include "macro/MacroRecorder.h"
#include "macro/MacroStore.h"

#include <filesystem>
#include <string>
#include <vector>

namespace varnix {

// One node of the macro tree, in tree order: a group, then its macros.
struct MacroTreeEntry {
    int group = -1;
    int macro = -1; // -1 for a group node
    std::string text;
    bool operator==(const MacroTreeEntry&) const = default;
};

class MacroPageModel {
public:
    explicit MacroPageModel(std::filesystem::path resourceRoot = "res");

    MacroStore& store() { return store_; }
    const MacroStore& store() const { return store_; }
    // Loads the macro file; nothing is selected afterwards.
    Outcome open();
    // Whether open() has read the macro file.
    bool opened() const { return opened_; }

    std::vector<MacroTreeEntry> treeEntries() const;
    // Position of a group's or macro's node in treeEntries(); -1 when there is none.
    int treeIndexOf(int group, int macro) const;

    // --- selection ---
    int selectedGroup() const { return group_; }
    int selectedMacro() const { return macro_; }
    bool macroSelected() const { return macro_ >= 0; }
    // Shows macro m of group g: current becomes a copy, the rows its items. False when absent.
    bool selectMacro(int g, int m);
    void selectGroup(int g);
    void clearSelection();
    const std::vector<MacroItemView>& rows() const { return rows_; }
    std::vector<MacroListRow> listRows() const { return macroListRows(rows_); }
    // The selected macro (current), or null with a group or nothing selected.
    const MacroRecord* shownMacro() const { return macroSelected() ? &store_.current : nullptr; }

    // What the repeat controls and the binding labels show for the selection.
    ViewRows repeatRows() const;
    ViewRows bindingRows() const;

    int insertSide() const { return insertSide_; }
    void setInsertSide(int side) { insertSide_ = side == macropage::InsertAfter ? 1 : 0; }

    // --- adding, renaming, deleting groups and macros ---
    // A group named after `groupBase` after the selected one, with one macro named after
    // `macroBase`; the new macro is selected.
    Outcome addGroup(const std::string& groupBase, const std::string& macroBase);
    // A macro after the selected one (the group's last when a group is selected); a group first
    // when there is none. The new macro is selected and repeats once.
    Outcome addMacro(const std::string& groupBase, const std::string& macroBase);
    // The name the node shows after an inline rename; empty restores the name, a sibling's name
    // gets the next free number.
    std::string renameGroup(int g, const std::string& typed, Outcome* outcome = nullptr);
    std::string renameMacro(int g, int m, const std::string& typed, Outcome* outcome = nullptr);
    // Whether deleting asks "DelMacro" first: some macro is bound to a device key.
    bool groupIsBound(int g) const;
    bool macroIsBoundAt(int g, int m) const;
    // Deleting selects a neighbouring group, or the macro now at the same index (or the last).
    Outcome deleteGroup(int g);
    Outcome deleteMacro(int g, int m);

    // --- items ---
    // Whether the insert menu may open: "SelWarn" without a macro, "Exceed" above 109 items.
    Outcome checkInsert() const;
    // Inserts the popup's item before or after the selected row (at the top without one);
    // `inserted` receives its row.
    Outcome insertItem(int selectedRow, const MacroItemView& item, int* inserted = nullptr);
    // The row (0 when none is selected) takes the popup's item; counters stay.
    Outcome editItem(int row, const MacroItemView& item);
    // "SelOne" without a row; `next` receives the row to select afterwards.
    Outcome deleteRow(int row, int* next = nullptr);

    // --- repeat ---
    Outcome chooseRepeatOption(const std::string& option, const std::string& countField);
    Outcome commitRepeatCount(const std::string& countField);

    // --- recording ---
    // Whether recording may start: nothing selected is Refused without a message, a group
    // "SelMacro".
    Outcome checkRecord() const;
    MacroRecorder::Selection recorderSelection() const;
    // Puts a finished recording into the selected macro and shows it.
    Outcome finishRecording(const RecordingResult& recording);

    // --- files ---
    // Adds the group of a file after the selected group (first in an empty tree) and selects it.
    Outcome importGroup(const std::filesystem::path& path, MacroImportFormat format);
    Outcome exportGroup(int g, const std::filesystem::path& path);
    Outcome reset();
    // Takes the device keys bound to each macro (by group and macro GUID) from `source`, a
    // store a device page refreshed; macros `source` lacks keep theirs. Saves.
    Outcome takeBindings(const MacroStore& source);
    // The same from the macro file as a device page wrote it.
    Outcome takeBindingsFromFile();

private:
    void rebuildRows();
    void refreshCurrent();

    MacroStore store_;
    std::filesystem::path resourceRoot_;
    bool opened_ = false;
    int group_ = -1;
    int macro_ = -1;
    int insertSide_ = 0;
    std::vector<MacroItemView> rows_;
};

} // namespace varnix
