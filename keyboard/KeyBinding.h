// SPDX-License-Identifier: GPL-3.0-or-later
// One key or extra setting of a keyboard profile: its factory and current code and macro link.
#pragma once

#include <cstdint>
#include <string>

namespace varnix {

// A key the model has not assigned yet.
inline constexpr std::int32_t UnassignedKeyCode = 11111;
// Position of a key the model's matrix does not wire.
inline constexpr const char* NoMatrixPosition = "Null1";

struct KeyBinding {
    std::string name;
    std::int32_t defaultCode = 0;
    std::int32_t code = UnassignedKeyCode;
    std::string grpGuid;
    std::string macGuid;
    std::string displayText;
    std::string position = NoMatrixPosition;

    bool changed() const { return code != defaultCode; }
    bool operator==(const KeyBinding&) const = default;
};

} // namespace varnix
