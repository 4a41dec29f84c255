// SPDX-License-Identifier: GPL-3.0-or-later
// The version query settings (res/version/VersionInfo.json) and the version service's answer.
#pragma once

#include "common/Outcome.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace varnix {

namespace versioninfo {
// Under the resource root.
inline constexpr std::string_view File = "res/version/VersionInfo.json";
inline constexpr const char* ProductNameKey = "product_name";
inline constexpr const char* VersionKey = "version";
inline constexpr const char* UpdateUrlKey = "update_url";
} // namespace versioninfo

struct VersionInfo {
    std::string productName;
    std::string version;
    // Base address of the version service; empty: the build asks no service (what a
    // distribution's package ships).
    std::string updateUrl;

    bool queriesService() const { return !updateUrl.empty(); }
};

// Reads the settings file. Missing when it cannot be opened, Invalid when it is not a JSON
// object or a present key is not a string. A missing key reads as an empty text.
Expected<VersionInfo> readVersionInfo(const std::filesystem::path& file);

// update_url + product_name + "/" + version, joined as written: the service's address is
// expected to end so that the product name follows directly.
std::string versionQueryUrl(const VersionInfo& info);

// The number of newer releases the answer body names ("data" -> "total"); nullopt when the body
// is not JSON or lacks an integer data.total (the reason goes to `why`).
std::optional<long long> newerReleaseCount(std::string_view body, std::string* why = nullptr);

} // namespace varnix
