// SPDX-License-Identifier: GPL-3.0-or-later
// One row of the key function catalogue: a function code and its names.
#pragma once

#include <cstdint>
#include <string>

namespace varnix {

struct KeyFunctionEntry {
    std::int32_t code = 0;
    std::string symbol;      // "KEY_FN", "M_MUTE", ...; "Null" for ordinary keys
    std::string itemValue;   // "ItemValue0xF1_Fn"; the keyboard page's selectors match on it
    std::string caption;     // second text: Chinese caption or internal label; "Null" for keys
    std::string displayText; // the text shown for the code

    bool operator==(const KeyFunctionEntry&) const = default;
};

} // namespace varnix
