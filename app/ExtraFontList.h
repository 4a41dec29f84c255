// SPDX-License-Identifier: GPL-3.0-or-later
// The extra fonts shipped with the program, listed in res/Language/ExFont.json.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace varnix {

namespace exfontfile {
inline constexpr std::string_view File = "res/Language/ExFont.json";
inline constexpr std::string_view FontArrayKey = "Font";
inline constexpr std::string_view FontNameKey = "FontName";
inline constexpr std::string_view FontPathKey = "FontPath";
} // namespace exfontfile

class ExtraFontList {
public:
    // FontName -> FontPath of every "Font" element, the first of a repeated name kept.
    // A missing file gives no fonts; a file that is no JSON, or elements without the two texts,
    // are reported on the debug channel and skipped.
    static std::map<std::string, std::string> read(const std::filesystem::path& file);
    static std::map<std::string, std::string> parse(std::string_view json);
};

} // namespace varnix
