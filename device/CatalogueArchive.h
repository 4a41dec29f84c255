// SPDX-License-Identifier: GPL-3.0-or-later
// Unpacks the catalogue zip archive into a folder, refusing entries that would escape it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace varnix {

// Error codes reported in "Unzip failed!err=%d".
inline constexpr int ArchiveOpenFailed = 0x10000;
inline constexpr int ArchiveNotOpen = 0x80000;

struct ArchiveUnpackResult {
    int errorCode = 0;          // 0 when the archive could be opened and listed
    int entryCount = 0;
    int unpackedCount = 0;      // entries written (files and folders)
    std::vector<std::string> problems; // one line per refused or failed entry
};

// True when an entry name may be written below the target folder: relative, no ".." part.
bool isSafeArchiveEntryName(const std::string& name);

ArchiveUnpackResult unpackArchive(const std::filesystem::path& archive,
                                  const std::filesystem::path& targetFolder,
                                  std::uint64_t maxEntrySize);

} // namespace varnix
