// SPDX-License-Identifier: GPL-3.0-or-later
// Pure rules of the macro page: what its list rows, binding rows and fields show, where an item
// goes, which row is selected after a delete, and the item popup's fields.
#pragma once

#include "macro/MacroItemView.h"
#include "macro/MacroRecord.h"

#include <string>
#include <utility>
#include <vector>

namespace varnix {

namespace macropage {
// Language keys of the page's texts.
inline constexpr const char* NewMacro = "New Macro";
inline constexpr const char* NewGroup = "New Group";
inline constexpr const char* JsonWarn = "Json Warn";
inline constexpr const char* Tip = "Tip";
inline constexpr const char* RecordWarn = "RecordWarn";
inline constexpr const char* Exceed = "Exceed";
inline constexpr const char* SelMacro = "SelMacro";
inline constexpr const char* DelMacro = "DelMacro";
inline constexpr const char* SelWarn = "SelWarn";
inline constexpr const char* SelOne = "SelOne";
inline constexpr const char* ExportErr = "ExportErr";

// Items a macro may hold before the insert button refuses ("Exceed" above 109).
inline constexpr int MaxEditableItems = 109;
inline constexpr int MaxRepeatCount = 65535;
inline constexpr int MaxItemDelay = 10000;
// The item a new row starts with in the popup.
inline constexpr int NewItemDelay = 10;
// Insert modes of the item popup; 255 edits the selected row.
inline constexpr int InsertBefore = 0;
inline constexpr int InsertAfter = 1;
inline constexpr int EditItem = 255;

// Icons of the list rows.
inline constexpr const char* KeyboardIcon = "MacroKorv/png/KB2.png";
inline constexpr const char* MouseIcon = "MacroKorv/png/mouse.png";
inline constexpr const char* MoveIcon = "MacroKorv/png/move.png";
inline constexpr const char* PressIcon = "MacroKorv/png/KeyDown.png";
inline constexpr const char* ReleaseIcon = "MacroKorv/png/KeyUp.png";
} // namespace macropage

// Which icon the "type" cell shows.
enum class MacroItemType { Keyboard = 0, Mouse = 1, Move = 2 };

// One row of "list_Macro_KeyDisplay".
struct MacroListRow {
    MacroItemType type = MacroItemType::Keyboard;
    std::string typeImage;   // background of "type"
    std::string key;         // text of "key"
    std::string optionImage; // background of "option"; empty for a status without one
    std::string delay;       // text of "delay", "%d ms"
    bool operator==(const MacroListRow&) const = default;
};

// The row of an item; delay-only and DPI items repeat the type of the row before (`previous`).
MacroListRow macroListRow(const MacroItemView& item, MacroItemType previous);
std::vector<MacroListRow> macroListRows(const std::vector<MacroItemView>& items);
// "%d ms".
std::string delayText(int delay);

// One row of "VLayout_BindKeys": a device key that plays the macro.
struct MacroBindingRow {
    std::string device;
    std::string config;
    std::string key;
    bool operator==(const MacroBindingRow&) const = default;
};
std::vector<MacroBindingRow> macroBindingRows(const MacroRecord& macro);
bool macroIsBound(const MacroRecord& macro);

// What "Edit_Macro_Time" shows after the user typed `typed`: above 65535 "65535", a text that
// reads as 0 (empty or not a number included) "1", otherwise the text as typed.
std::string repeatCountFieldText(const std::string& typed);
// The count a field's text stands for (leading decimal digits, 1..65535).
int repeatCountOf(const std::string& fieldText);

// Where an item from the popup goes: at the top without a selected row, else before (side 0)
// or after (side 1) it.
int insertPosition(int selectedRow, int insertSide, int rowCount);
// The row selected after row `deleted` went: the one now at its place, or the new last row when
// the last went; -1 when none is left.
int rowAfterDelete(int deleted, int rowsLeft);

// The name a rename leaves: an empty text keeps `current`; otherwise `unique` of the typed text
// (the scope's names without the renamed one).
template <typename Unique>
std::string renamedName(const std::string& typed, const std::string& current, Unique unique) {
    if (typed.empty() || typed == current)
        return current;
    return unique(typed);
}

// The item popup's fields.
namespace macroitem {
// Entries of "btn_Modify_ListKeyType".
inline constexpr int TypeMouse = 0;
inline constexpr int TypeKeyboard = 1;
inline constexpr int TypeMove = 2;
// The two distances of a pointer-move text, as written: X from character 4 up to the first
// ",", Y from five characters after it to the end (characters, not bytes).
std::pair<std::string, std::string> pointerMoveFields(const std::string& text);
// The pointer-move text of direction entry 0..3 (statuses 3..6) with the distances as typed.
std::string pointerMoveItemText(int directionEntry, const std::string& x, const std::string& y);
// The direction boxes (X, Y) of direction entry 0..3.
std::pair<bool, bool> directionBoxes(int directionEntry);
// The delay field after typing: above 10000 "10000", otherwise as typed.
std::string delayFieldText(const std::string& typed);
int delayOf(const std::string& fieldText);

// What the popup shows when it opens for `item`.
struct Fields {
    int type = TypeKeyboard;
    int mouseEntry = 0;     // 0 left, 1 middle, 2 right
    int directionEntry = 0; // 0..3
    std::string x, y;
    std::string keyText;
    std::uint32_t keyValue = 4;
    bool release = false;
    std::string delay;
    bool operator==(const Fields&) const = default;
};
Fields fieldsOf(const MacroItemView& item);
// The item Apply returns for the fields.
MacroItemView itemOf(const Fields& fields);
} // namespace macroitem

} // namespace varnix
