// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 <-> UTF-16 conversion for names that files keep as arrays of UTF-16 code units.
#pragma once

#include <string>
#include <string_view>

namespace varnix {

// UTF-16 code units to UTF-8. Surrogate pairs become one four-byte sequence. A lone surrogate
// (possible in files written by other tools) is kept as its own three-byte sequence, so that
// utf8ToUtf16(utf16ToUtf8(units)) == units for every sequence of code units.
std::string utf16ToUtf8(std::u16string_view units);

// UTF-8 to UTF-16 code units. Characters outside the basic plane become surrogate pairs; the
// three-byte form of a lone surrogate comes back as that code unit. Bytes that are not valid
// UTF-8 become U+FFFD each.
std::u16string utf8ToUtf16(std::string_view text);

} // namespace varnix
