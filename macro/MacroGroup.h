// SPDX-License-Identifier: GPL-3.0-or-later
// A named group of macros, in the order the macro tree shows them.
#pragma once

#include "macro/MacroRecord.h"

#include <string>
#include <vector>

namespace varnix {

struct MacroGroup {
    std::string guid;
    std::string name; // UTF-8
    std::vector<MacroRecord> macros;

    bool operator==(const MacroGroup&) const = default;
};

} // namespace varnix
