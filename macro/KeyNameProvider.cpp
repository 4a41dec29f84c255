// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/KeyNameProvider.h"

#include "common/Diagnostics.h"
#include "common/Utf16.h"

#include <mutex>

namespace varnix {
namespace {

std::mutex providerMutex;
KeyNameProvider& installedProvider() {
    static KeyNameProvider provider;
    return provider;
}

// Pointer-move formats by direction status 3..6.
constexpr const char* PointerMoveFormats[] = {
    "[←]:%d,[↓]:%d",
    "[←]:%d,[↑]:%d",
    "[→]:%d,[↓]:%d",
    "[→]:%d,[↑]:%d",
};
constexpr const char* PointerMoveErrorText = "[X]:eeror,[Y]:eeror";

// DPI level texts by the x value of a "switch to level" item; any other x reads "[DPI]:800 ".
std::string dpiLevelText(unsigned level) {
    switch (level) {
    case 1:
        return "[DPI]:200 ";
    case 2:
        return "[DPI]:400 ";
    case 3:
        return "[DPI]:600 ";
    case 5:
        return "[DPI]:1000 ";
    case 6:
        return "[DPI]:1200 ";
    case 7:
    case 8:
        return "[DPI]:1600 ";
    case 9:
    case 10:
        return "[DPI]:2000 ";
    case 11:
    case 12:
        return "[DPI]:2400 ";
    case 13:
        return "[DPI]:3200 ";
    case 14:
        return "[DPI]:4000 ";
    case 15:
        return "[DPI]:4800 ";
    default:
        return "[DPI]:800 ";
    }
}

// Leading decimal digits of units[begin, end) as a number limited to 65535; none give 0.
std::uint16_t numberAt(const std::u16string& units, std::size_t begin, std::size_t end) {
    unsigned value = 0;
    for (std::size_t i = begin; i < end && i < units.size(); ++i) {
        if (units[i] < u'0' || units[i] > u'9')
            break;
        value = value * 10 + static_cast<unsigned>(units[i] - u'0');
        if (value > 0xFFFF)
            value = 0xFFFF;
    }
    return static_cast<std::uint16_t>(value);
}

} // namespace

KeyNameProvider setKeyNameProvider(KeyNameProvider provider) {
    std::lock_guard lock(providerMutex);
    std::swap(installedProvider(), provider);
    return provider;
}

std::string keyNameForUsage(std::uint32_t usage) {
    KeyNameProvider provider;
    {
        std::lock_guard lock(providerMutex);
        provider = installedProvider();
    }
    return provider ? provider(usage) : fallbackKeyName(usage);
}

std::string fallbackKeyName(std::uint32_t usage) {
    switch (usage) {
    case MacroKindLeftButton:
        return "Left Click";
    case MacroKindMiddleButton:
        return "Middle Click";
    case MacroKindRightButton:
        return "Right Click";
    default:
        return formatText("0x%02X", usage);
    }
}

std::string pointerMoveText(int status, int x, int y) {
    if (status < MacroStatusLeftDown || status > MacroStatusRightUp)
        return PointerMoveErrorText;
        // The formats are fixed texts of this file, not outside input.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return formatText(PointerMoveFormats[status - MacroStatusLeftDown], x, y);
#pragma GCC diagnostic pop
}

MacroExtValue parsePointerMoveText(const std::string& text) {
    constexpr std::size_t XStart = 4;      // after "[←]:"
    constexpr std::size_t YAfterComma = 5; // ",[↓]:"
    const std::u16string units = utf8ToUtf16(text);
    MacroExtValue ext;
    const std::size_t comma = units.find(u',');
    ext.x = numberAt(units, XStart, comma);
    if (comma != std::u16string::npos)
        ext.y = numberAt(units, comma + YAfterComma, units.size());
    return ext;
}

std::string macroItemText(std::uint8_t value, std::uint8_t status, MacroExtValue ext,
                          const KeyNameProvider& keyNames) {
    switch (value) {
    case MacroKindPointerMove:
        return pointerMoveText(status, ext.x, ext.y);
    case MacroKindDpi:
        if (status == MacroStatusDpiLevel)
            return dpiLevelText(ext.x);
        if (status == MacroStatusDpiRestore)
            return "[DPI]:返回执行前的值";
        return "[DPI]:Error";
    case MacroKindLed:
        if (status == 13)
            return formatText("LED  %d ", ext.x);
        if (status == 14 || status == 15)
            return formatText("LED  %d", ext.x);
        return "[LED0/1/2]:error";
    case MacroKindDelay:
        return "[Delay]";
    default:
        return keyNames ? keyNames(value) : keyNameForUsage(value);
    }
}

} // namespace varnix
