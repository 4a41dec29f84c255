// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/MouseKeySelection.h"

#include <cstdio>

namespace varnix {

namespace ks = mousekeysel;

namespace mousekeysel {
namespace {
struct TabNames {
    std::string_view option;
    std::string_view list;
};
constexpr std::array<TabNames, TabCount> Tabs = {{
    {"opt_MouseKey_Mouse", "list_MouseKey_Mouse"},
    {"opt_MouseKey_ShortCut", "list_MouseKey_ShortCut"},
    {"opt_KBSet_Macro", ""},
    {"opt_MouseKey_Media", "list_MouseKey_Media"},
    {"opt_MouseKey_DPI", "list_MouseKey_DPI"},
    {"opt_MouseKey_Mode", "list_MouseKey_Mode"},
    {"opt_MouseKey_Led", "list_MouseKey_Led"},
}};
} // namespace

std::string_view tabOption(int tab) {
    return tab >= 0 && tab < TabCount ? Tabs[std::size_t(tab)].option : std::string_view();
}
std::string_view tabList(int tab) {
    return tab >= 0 && tab < TabCount ? Tabs[std::size_t(tab)].list : std::string_view();
}
} // namespace mousekeysel

int keyTabForCode(int code) {
    if (code >= ks::MacroCode)
        return ks::TabMacro;
    if (code == 7 || (code >= 40 && code <= 47))
        return ks::TabShortcut;
    if (code >= 29 && code <= 39)
        return ks::TabMedia;
    if (code == 6 || code == 11 || code == 12)
        return ks::TabDpi;
    if (code >= 23 && code <= 26)
        return ks::TabMode;
    if (code == 16 || code == 21)
        return ks::TabLed;
    return ks::TabMouse;
}

std::string keyItemName(int code) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d", code < 0 ? 0 : code % 100);
    return std::string(ks::ItemPrefix) + digits;
}

std::optional<int> codeOfKeyItem(std::string_view itemName) {
    if (itemName.size() < ks::CodePosition + 2)
        return std::nullopt;
    const char tens = itemName[ks::CodePosition];
    const char ones = itemName[ks::CodePosition + 1];
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9')
        return std::nullopt;
    return (tens - '0') * 10 + (ones - '0');
}

std::vector<int> keyListCodes(const MouseFunctionTable& table, int tab) {
    std::vector<int> codes;
    if (tab == ks::TabMacro)
        return codes;
    for (const auto& [code, row] : table.rows())
        if (code >= 0 && code < ks::MacroCode && keyTabForCode(code) == tab)
            codes.push_back(code);
    return codes;
}

namespace {

// The group and macro of a GUID pair, as indexes; -1 where there is none.
std::pair<int, int> findMacro(const std::vector<MacroGroup>& macros, const std::string& grpGuid,
                              const std::string& macGuid) {
    for (std::size_t g = 0; g < macros.size(); ++g) {
        if (macros[g].guid != grpGuid)
            continue;
        const auto& list = macros[g].macros;
        for (std::size_t m = 0; m < list.size(); ++m)
            if (list[m].guid == macGuid)
                return {int(g), int(m)};
        return {int(g), -1};
    }
    return {-1, -1};
}

MacroRecord* macroAt(std::vector<MacroGroup>& macros, int g, int m) {
    if (g < 0 || g >= int(macros.size()))
        return nullptr;
    auto& list = macros[std::size_t(g)].macros;
    if (m < 0 || m >= int(list.size()))
        return nullptr;
    return &list[std::size_t(m)];
}

void countDown(MacroRecord* macro) {
    if (macro && macro->bindKeyCount > 0)
        --macro->bindKeyCount;
}

} // namespace

KeyOpening openKeySelection(const MouseConfigModel& model, const std::vector<MacroGroup>& macros,
                            const MouseFunctionTable& table, int key) {
    KeyOpening opening;
    opening.key = key;
    const MouseKeyBinding* binding = model.binding(int(model.curporfile & 3), key);
    opening.code = binding ? binding->code : 0;
    opening.tab = keyTabForCode(opening.code);
    opening.macroMode = opening.code >= ks::MacroCode;
    if (opening.macroMode && binding) {
        const auto [g, m] = findMacro(macros, binding->grpGuid, binding->macGuid);
        opening.groupIndex = g;
        opening.macroIndex = m;
    } else {
        opening.firstText = table.firstText(opening.code);
    }
    return opening;
}

KeyAssignment assignKey(MouseConfigModel& model, std::vector<MacroGroup>& macros,
                        const MouseFunctionTable& table, const KeyOpening& opening,
                        const MouseKeyChoice& choice) {
    KeyAssignment result;
    MouseKeyBinding* binding = model.binding(int(model.curporfile & 3), opening.key);
    if (!binding) {
        result.outcome = Outcome::failure(Status::Refused, "", ks::NoBindingText,
                                          "no binding for key " + std::to_string(opening.key));
        return result;
    }
    MacroRecord* previous =
        opening.macroMode ? macroAt(macros, opening.groupIndex, opening.macroIndex) : nullptr;
    if (choice.tab == ks::TabMacro) {
        MacroRecord* chosen = macroAt(macros, choice.groupIndex, choice.macroIndex);
        if (!chosen)
            return result; // nothing chosen: nothing changes
        if (chosen != previous) {
            countDown(previous);
            ++chosen->bindKeyCount;
        }
        binding->code = ks::MacroCode;
        binding->text = ks::MacroPrefix + chosen->name;
        binding->grpGuid = macros[std::size_t(choice.groupIndex)].guid;
        binding->macGuid = chosen->guid;
        result.changed = true;
        return result;
    }
    if (opening.macroMode)
        countDown(previous);
    binding->code = choice.code;
    binding->text = table.secondText(choice.code);
    binding->grpGuid.clear();
    binding->macGuid.clear();
    result.changed = true;
    return result;
}

} // namespace varnix
