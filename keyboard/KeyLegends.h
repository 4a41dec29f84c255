// SPDX-License-Identifier: GPL-3.0-or-later
// The legend a key cap of the keyboard picture carries: a short form of the key's name.
#pragma once

#include <string>

namespace varnix {

// "Num 7" becomes "7", "Print Screen" "PrtSc", "L-Ctrl" "Ctrl" and so on; a character key
// keeps the character its name is.
std::string keyCapLegend(const std::string& keyName);

} // namespace varnix
