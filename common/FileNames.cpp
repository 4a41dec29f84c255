// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/FileNames.h"

#include <algorithm>
#include <cctype>

namespace varnix {

bool endsWithIgnoringCase(std::string_view text, std::string_view tail) {
    if (tail.size() > text.size())
        return false;
    return std::equal(tail.begin(), tail.end(), text.end() - std::ptrdiff_t(tail.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

std::string withExchangeExtension(std::string_view fileName, std::string_view extension,
                                  std::string_view defaultSuffix) {
    if (endsWithIgnoringCase(fileName, extension))
        return std::string(fileName);
    std::string stem(fileName);
    if (!defaultSuffix.empty()) {
        const std::string dotSuffix = "." + std::string(defaultSuffix);
        if (endsWithIgnoringCase(stem, dotSuffix) && endsWithIgnoringCase(extension, dotSuffix))
            stem.resize(stem.size() - dotSuffix.size());
    }
    return stem + std::string(extension);
}

} // namespace varnix
