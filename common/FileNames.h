// SPDX-License-Identifier: GPL-3.0-or-later
// How a chosen file name becomes the name of an exchange file.
#pragma once

#include <string>
#include <string_view>

namespace varnix {

// Whether `text` ends with `tail`, letters compared without regard to case.
bool endsWithIgnoringCase(std::string_view text, std::string_view tail);

// A file name that ends with `extension` (".Light.Config"): unchanged when it does already,
// otherwise the extension appended, and a trailing ".<defaultSuffix>" that the extension ends
// with taken off first ("pad" and "pad.Config" both become "pad.Light.Config").
std::string withExchangeExtension(std::string_view fileName, std::string_view extension,
                                  std::string_view defaultSuffix);

} // namespace varnix
