// SPDX-License-Identifier: GPL-3.0-or-later
// The key selection popup's rules: which tab shows a function code, the list item names that
// carry the code, and writing a chosen function into a key's binding with the macro use counts.
#pragma once

#include "common/Outcome.h"
#include "macro/MacroGroup.h"
#include "mouse/MouseConfigModel.h"
#include "mouse/MouseFunctionTable.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnix {

namespace mousekeysel {
// The tabs in the order of the option group "PopMouseKey".
enum Tab : int {
    TabMouse = 0,
    TabShortcut = 1,
    TabMacro = 2,
    TabMedia = 3,
    TabDpi = 4,
    TabMode = 5,
    TabLed = 6,
};
inline constexpr int TabCount = 7;
inline constexpr const char* OptionGroup = "PopMouseKey";
inline constexpr const char* TabLayout = "MouseKey_switch";
inline constexpr const char* GroupCombo = "btn_MouseKey_MacroGroupVal";
inline constexpr const char* MacroCombo = "btn_MouseKey_MacroVal";
inline constexpr const char* MacroPrefix = "M:";
// Every key that plays a user macro carries this code.
inline constexpr int MacroCode = 50;
// A list item's name carries its code as two decimal digits at these positions.
inline constexpr std::size_t CodePosition = 9;
inline constexpr const char* ItemPrefix = "KeyItem__"; // 9 characters, then the code
inline constexpr const char* NoBindingText = "对不起没有找到对应功能!";

// The option and list names of the tabs (the macro tab has no list: its combos).
std::string_view tabOption(int tab);
std::string_view tabList(int tab);
} // namespace mousekeysel

// The tab that presents a function code.
int keyTabForCode(int code);
// "KeyItem__07": the list item name of a code (0..99).
std::string keyItemName(int code);
// The code in a list item's name (characters 9 and 10), or nothing.
std::optional<int> codeOfKeyItem(std::string_view itemName);
// The codes each list offers: the codes of the function table whose tab is that list's, in
// ascending order (user macro codes are never listed).
std::vector<int> keyListCodes(const MouseFunctionTable& table, int tab);

// What the popup found when it opened for a key.
struct KeyOpening {
    int key = -1;
    int code = 0;
    int tab = mousekeysel::TabMouse;
    bool macroMode = false; // the key's code was 50 or more
    int groupIndex = -1;    // the key's macro group and macro, when found
    int macroIndex = -1;
    std::string firstText; // the code's first text, the list item to select
};

KeyOpening openKeySelection(const MouseConfigModel& model, const std::vector<MacroGroup>& macros,
                            const MouseFunctionTable& table, int key);

// What the user chose: a list item of a list tab, or a group and macro of the macro tab.
struct MouseKeyChoice {
    int tab = mousekeysel::TabMouse;
    int code = 0;        // list tabs
    int groupIndex = -1; // macro tab
    int macroIndex = -1;
    static MouseKeyChoice listItem(int tab, int code) { return {tab, code, -1, -1}; }
    static MouseKeyChoice macro(int group, int macro) {
        return {mousekeysel::TabMacro, mousekeysel::MacroCode, group, macro};
    }
};

// Writes a choice into the key's binding of the current profile and keeps the macros' use
// counts ("BindKeys"): a new macro counts one more, the macro the key leaves one less (never
// below 0), the same macro again stays as it was. A macro tab without a group or macro changes
// nothing (a success without a change: `changed` stays false). A key without a binding is
// refused with the popup's own message and nothing changes.
struct KeyAssignment {
    Outcome outcome;
    bool changed = false;
};
KeyAssignment assignKey(MouseConfigModel& model, std::vector<MacroGroup>& macros,
                        const MouseFunctionTable& table, const KeyOpening& opening,
                        const MouseKeyChoice& choice);

} // namespace varnix
