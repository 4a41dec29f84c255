// SPDX-License-Identifier: GPL-3.0-or-later
// What the version window knows: the server's version-file address, the installed and the latest
// version, read from Version/LocalVersion.json and SeverVersion.json in the program folder.
#pragma once

#include "common/Outcome.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace varnix {

namespace versionfiles {
inline constexpr std::string_view LocalVersionFile = "Version/LocalVersion.json";
inline constexpr std::string_view ServerVersionFile = "SeverVersion.json";
} // namespace versionfiles

struct VersionRecord {
    std::string serverUrl;      // LocalVersion.SeverCenterURL
    std::string currentVersion; // LocalVersion.CurVersion
    std::string latestVersion;  // SeverVersion.MaxVersion
};

// Reads "LocalVersion" of the local version file into the record's URL and current version.
// Missing when the file cannot be opened, Invalid when it does not hold the object; the record
// keeps what it held then.
Outcome readLocalVersion(const std::filesystem::path& file, VersionRecord& record);
// Reads "SeverVersion" -> "MaxVersion" into the latest version, with the same failures.
Outcome readServerVersion(const std::filesystem::path& file, VersionRecord& record);

// The label text: `format` with its first "%s" replaced by the current and its second by the
// latest version (a format without them gets nothing added). Versions are inserted as text,
// so a "%" in them is shown as it is.
std::string versionLabelText(std::string_view format, const VersionRecord& record);

} // namespace varnix
