// SPDX-License-Identifier: GPL-3.0-or-later
// What a pad model can do, read from its Config/Setup.ini.
#pragma once

#include "common/IniFile.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace varnix {

namespace padfeature {
inline constexpr std::string_view File = "Config/Setup.ini";
inline constexpr std::string_view SetSection = "Set";
inline constexpr std::string_view BrightMaxKey = "BrightMax";
inline constexpr std::size_t BrightMaxBuffer = 12; // characters including the NUL
inline constexpr std::uint8_t DefaultBrightMax = 7;
} // namespace padfeature

class PadFeatureProfile {
public:
    std::string BrightMax;                                 // as read
    std::uint8_t brightMax = padfeature::DefaultBrightMax; // highest brightness step

    // Empty or absent text (or no file) gives 7; other texts convert as decimals, kept in 0..255.
    static PadFeatureProfile fromIni(const IniFile& ini);
    static PadFeatureProfile read(const std::filesystem::path& modelFolder);
};

} // namespace varnix
