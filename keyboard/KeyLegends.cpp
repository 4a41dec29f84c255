// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyLegends.h"

#include <map>

namespace varnix {

std::string keyCapLegend(const std::string& keyName) {
    static const std::map<std::string, std::string> shortNames = {
        {"Escape", "Esc"},
        {"BackSpace", "Backspace"},
        {"Caps Lock", "Caps"},
        {"L-Ctrl", "Ctrl"},
        {"R-Ctrl", "Ctrl"},
        {"L-Shift", "Shift"},
        {"R-Shift", "Shift"},
        {"L-Alt", "Alt"},
        {"R-Alt", "Alt"},
        {"L-Win", "Win"},
        {"R-Win", "Win"},
        {"App", "Menu"},
        {"Print Screen", "PrtSc"},
        {"Scroll Lock", "ScrLk"},
        {"Pause", "Pause"},
        {"Insert", "Ins"},
        {"Delete", "Del"},
        {"Page Up", "PgUp"},
        {"Page Down", "PgDn"},
        {"Num Lock", "Num"},
        {"Num Enter", "Enter"},
        {"Num /", "/"},
        {"Num *", "*"},
        {"Num -", "-"},
        {"Num +", "+"},
        {"Num .", "."},
        {"Backlight On/Off", "Light"},
        {"Calculator", "Calc"},
        {"Unknown Key", ""},
    };
    if (const auto found = shortNames.find(keyName); found != shortNames.end())
        return found->second;
    if (keyName.size() == 5 && keyName.rfind("Num ", 0) == 0)
        return keyName.substr(4); // "Num 0" .. "Num 9"
    return keyName;
}

} // namespace varnix
