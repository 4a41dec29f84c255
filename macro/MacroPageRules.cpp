// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/MacroPageRules.h"

#include "common/Diagnostics.h"
#include "common/Utf16.h"
#include "macro/MacroData.h"

#include <algorithm>
#include <cctype>

namespace varnix {
namespace {

// The number a field's leading decimal digits give, saturated far above any limit; 0 for none.
long long leadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL << 40);
    return value;
}

const char* optionImageOf(int status) {
    static const char* const moves[] = {"MacroKorv/png/1.png", "MacroKorv/png/2.png",
                                        "MacroKorv/png/3.png", "MacroKorv/png/4.png"};
    if (status == MacroStatusPress)
        return macropage::PressIcon;
    if (status == MacroStatusRelease)
        return macropage::ReleaseIcon;
    if (status >= MacroStatusLeftDown && status <= MacroStatusRightUp)
        return moves[status - MacroStatusLeftDown];
    return "";
}

} // namespace

std::string delayText(int delay) {
    return formatText("%d ms", delay);
}

MacroListRow macroListRow(const MacroItemView& item, MacroItemType previous) {
    MacroListRow row;
    if (item.value >= MacroKindLeftButton && item.value <= MacroKindButton5)
        row.type = MacroItemType::Mouse;
    else if (item.value == MacroKindPointerMove)
        row.type = MacroItemType::Move;
    else if (item.value == MacroKindDelay || item.value == MacroKindDpi)
        row.type = previous;
    else
        row.type = MacroItemType::Keyboard;
    switch (row.type) {
    case MacroItemType::Keyboard:
        row.typeImage = macropage::KeyboardIcon;
        break;
    case MacroItemType::Mouse:
        row.typeImage = macropage::MouseIcon;
        break;
    case MacroItemType::Move:
        row.typeImage = macropage::MoveIcon;
        break;
    }
    row.key = item.text;
    row.optionImage = optionImageOf(item.status);
    row.delay = delayText(item.delay);
    return row;
}

std::vector<MacroListRow> macroListRows(const std::vector<MacroItemView>& items) {
    std::vector<MacroListRow> rows;
    rows.reserve(items.size());
    MacroItemType previous = MacroItemType::Keyboard;
    for (const MacroItemView& item : items) {
        rows.push_back(macroListRow(item, previous));
        previous = rows.back().type;
    }
    return rows;
}

std::vector<MacroBindingRow> macroBindingRows(const MacroRecord& macro) {
    std::vector<MacroBindingRow> rows;
    for (const auto& [device, keys] : macro.bindings)
        for (const MacroKeyBinding& key : keys)
            rows.push_back({device, key.first, key.second});
    return rows;
}

bool macroIsBound(const MacroRecord& macro) {
    return !macroBindingRows(macro).empty();
}

std::string repeatCountFieldText(const std::string& typed) {
    const long long value = leadingNumber(typed);
    if (value > macropage::MaxRepeatCount)
        return std::to_string(macropage::MaxRepeatCount);
    if (value == 0)
        return "1";
    return typed;
}

int repeatCountOf(const std::string& fieldText) {
    return static_cast<int>(
        std::clamp<long long>(leadingNumber(fieldText), 1, macropage::MaxRepeatCount));
}

int insertPosition(int selectedRow, int insertSide, int rowCount) {
    if (selectedRow < 0 || selectedRow >= rowCount)
        return 0;
    return selectedRow + (insertSide == macropage::InsertAfter ? 1 : 0);
}

int rowAfterDelete(int deleted, int rowsLeft) {
    if (rowsLeft <= 0)
        return -1;
    return std::clamp(deleted, 0, rowsLeft - 1);
}

namespace macroitem {

std::pair<std::string, std::string> pointerMoveFields(const std::string& text) {
    constexpr std::size_t XStart = 4;      // after "[←]:"
    constexpr std::size_t YAfterComma = 5; // ",[↓]:"
    const std::u16string units = utf8ToUtf16(text);
    const std::size_t comma = units.find(u',');
    std::u16string x, y;
    if (XStart < units.size())
        x = units.substr(XStart, comma == std::u16string::npos ? std::u16string::npos
                                                               : comma - std::min(comma, XStart));
    if (comma != std::u16string::npos && comma + YAfterComma < units.size())
        y = units.substr(comma + YAfterComma);
    return {utf16ToUtf8(x), utf16ToUtf8(y)};
}

std::string pointerMoveItemText(int directionEntry, const std::string& x, const std::string& y) {
    static const char* const prefixes[] = {"[←]:", "[←]:", "[→]:", "[→]:"};
    static const char* const middles[] = {",[↓]:", ",[↑]:", ",[↓]:", ",[↑]:"};
    const int d = std::clamp(directionEntry, 0, 3);
    return prefixes[d] + x + middles[d] + y;
}

std::pair<bool, bool> directionBoxes(int directionEntry) {
    const int d = std::clamp(directionEntry, 0, 3);
    return {d >= 2, d % 2 == 1};
}

std::string delayFieldText(const std::string& typed) {
    if (leadingNumber(typed) > macropage::MaxItemDelay)
        return std::to_string(macropage::MaxItemDelay);
    return typed;
}

int delayOf(const std::string& fieldText) {
    return static_cast<int>(std::min<long long>(leadingNumber(fieldText), macropage::MaxItemDelay));
}

Fields fieldsOf(const MacroItemView& item) {
    Fields fields;
    fields.delay = std::to_string(item.delay);
    fields.keyValue = item.value;
    fields.keyText = item.text;
    if (item.value >= MacroKindLeftButton && item.value <= MacroKindButton5) {
        fields.type = TypeMouse;
        fields.mouseEntry = std::clamp(static_cast<int>(item.value) - MacroKindLeftButton, 0, 2);
        fields.release = item.status != MacroStatusPress;
    } else if (item.value == MacroKindPointerMove) {
        fields.type = TypeMove;
        fields.directionEntry = std::clamp(item.status - MacroStatusLeftDown, 0, 3);
        std::tie(fields.x, fields.y) = pointerMoveFields(item.text);
    } else {
        fields.type = TypeKeyboard;
        fields.release = item.status != MacroStatusPress;
    }
    return fields;
}

MacroItemView itemOf(const Fields& fields) {
    MacroItemView item;
    item.delay = delayOf(fields.delay);
    switch (fields.type) {
    case TypeMouse: {
        static const char* const names[] = {"Left Click", "Middle Click", "Right Click"};
        const int entry = std::clamp(fields.mouseEntry, 0, 2);
        item.value = static_cast<std::uint32_t>(MacroKindLeftButton + entry);
        item.text = names[entry];
        item.status = fields.release ? MacroStatusRelease : MacroStatusPress;
        break;
    }
    case TypeMove:
        item.value = MacroKindPointerMove;
        item.status = MacroStatusLeftDown + std::clamp(fields.directionEntry, 0, 3);
        item.text = pointerMoveItemText(fields.directionEntry, fields.x, fields.y);
        break;
    default:
        item.value = fields.keyValue;
        item.text = fields.keyText;
        item.status = fields.release ? MacroStatusRelease : MacroStatusPress;
        break;
    }
    return item;
}

} // namespace macroitem

} // namespace varnix
