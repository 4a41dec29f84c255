// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/JsonRead.h"

#include <algorithm>

namespace varnix {

int jsonNestingDepth(std::string_view text) {
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        switch (c) {
        case '"':
            inString = true;
            break;
        case '[':
        case '{':
            deepest = std::max(deepest, ++depth);
            break;
        case ']':
        case '}':
            depth = std::max(0, depth - 1);
            break;
        default:
            break;
        }
    }
    return deepest;
}

} // namespace varnix
