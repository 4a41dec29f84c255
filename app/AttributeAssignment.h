// SPDX-License-Identifier: GPL-3.0-or-later
// One attribute a layout file sets on a named control, as the UI side sends it.
#pragma once

#include <string>

namespace varnix {

struct AttributeAssignment {
    std::string control;   // control looked up by name
    std::string child;     // when not empty: a control of that name inside `control`
    std::string attribute; // attribute name, e.g. "pos", "normalimage"
    std::string value;     // attribute text, e.g. "10,20,40,60"
    bool operator==(const AttributeAssignment&) const = default;
};

} // namespace varnix
