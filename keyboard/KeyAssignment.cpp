// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyAssignment.h"

#include "keyboard/KeyboardConfig.h"
#include "macro/KeyNames.h"

#include <cctype>

namespace varnix {
namespace {

constexpr const char* ItemValuePrefix = "ItemValue";
constexpr std::size_t ItemCodeLength = 4; // "0xCB"

bool inRange(int code, int first, int last) {
    return code >= first && code <= last;
}

} // namespace

bool isMacroSlotCode(int code) {
    return inRange(code, FirstMacroSlotCode, FirstMacroSlotCode + SecondMacroSlotIndex - 1) ||
           inRange(code, SecondMacroSlotCode,
                   SecondMacroSlotCode + (MacroSlotCodeCount - SecondMacroSlotIndex) - 1);
}

std::optional<KeySetTab> functionListOf(int code) {
    if (code == 176 || code == 177)
        return KeySetTab::System;
    if (inRange(code, 180, 183) || code == 241 || code == 243 || code == 245)
        return KeySetTab::Special;
    if (inRange(code, 201, 223))
        return KeySetTab::Media;
    if (inRange(code, 232, 237) || code == 240)
        return KeySetTab::LedControl;
    return std::nullopt;
}

KeySetTab tabForCode(int code, int defaultCode) {
    if (code == defaultCode)
        return KeySetTab::Default;
    if (isMacroSlotCode(code))
        return KeySetTab::Macro;
    if (const std::optional<KeySetTab> list = functionListOf(code))
        return *list;
    if (code == DisabledKeyCode)
        return KeySetTab::Disable;
    return KeySetTab::KeyBoard;
}

int codeFromItemName(const std::string& itemName) {
    const std::size_t at = itemName.find(ItemValuePrefix);
    if (at == std::string::npos)
        return 0;
    const std::string digits =
        itemName.substr(at + std::char_traits<char>::length(ItemValuePrefix), ItemCodeLength);
    if (digits.size() != ItemCodeLength || digits[0] != '0' ||
        (digits[1] != 'x' && digits[1] != 'X') ||
        !std::isxdigit(static_cast<unsigned char>(digits[2])) ||
        !std::isxdigit(static_cast<unsigned char>(digits[3])))
        return 0;
    return std::stoi(digits.substr(2), nullptr, 16);
}

std::vector<KeyFunctionEntry> functionItems(const KeyFunctionCatalogue& catalogue, KeySetTab tab) {
    std::vector<KeyFunctionEntry> items;
    for (const auto& [code, entry] : catalogue.keyFunctions())
        if (entry.itemValue != KeyFunctionCatalogue::kOrdinaryKeyItemValue &&
            functionListOf(code) == tab)
            items.push_back(entry);
    return items;
}

std::vector<KeyFunctionEntry> fnFunctionItems(const KeyFunctionCatalogue& catalogue) {
    std::vector<KeyFunctionEntry> items;
    for (const auto& [code, entry] : catalogue.keyFunctions())
        if (entry.itemValue != KeyFunctionCatalogue::kOrdinaryKeyItemValue)
            items.push_back(entry);
    return items;
}

std::string itemValueOf(const KeyFunctionCatalogue& catalogue, int code) {
    const auto found = catalogue.keyFunctions().find(code);
    return found != catalogue.keyFunctions().end() ? found->second.itemValue
                                                   : std::string(kUnknownKeyName);
}

} // namespace varnix
