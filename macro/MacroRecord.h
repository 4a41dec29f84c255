// SPDX-License-Identifier: GPL-3.0-or-later
// One macro of the store: identity, name, body and the device keys bound to it.
#pragma once

#include "macro/MacroData.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace varnix {

// One bound key: (config text, key name text), the file's "Config" and "KeyName".
using MacroKeyBinding = std::pair<std::string, std::string>;

struct MacroRecord {
    std::string guid;
    std::string name; // UTF-8; stored in files as UTF-16 code units
    MacroData data;
    std::int32_t bindKeyCount = 0; // "BindKeys"
    // "BindKeysInfo": device name -> the keys of that device that play this macro.
    std::map<std::string, std::vector<MacroKeyBinding>> bindings;

    bool operator==(const MacroRecord&) const = default;
};

} // namespace varnix
