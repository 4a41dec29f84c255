// SPDX-License-Identifier: GPL-3.0-or-later
// A model-specific extra key: the code it carries in the model and the code the device gets.
#pragma once

#include <cstdint>
#include <string>

namespace varnix {

struct ExtKey {
    std::string name;
    std::int32_t number = 0;
    std::int32_t map = 0;
    bool operator==(const ExtKey&) const = default;
};

} // namespace varnix
