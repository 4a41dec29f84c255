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
inline constexpr int ArchiveTooLarge = 0x40000; // more entries than ArchiveLimits allow

// Longer entry names are refused (the catalogue's names are short file names).
inline constexpr std::size_t MaxArchiveEntryNameLength = 255;

// What one archive may unpack: the catalogue needs a few dozen small images.
struct ArchiveLimits {
    std::uint64_t maxEntries = 1000;                  // more: the whole archive is refused
    std::uint64_t maxTotalSize = 64ull * 1024 * 1024; // bytes; entries beyond it are refused
};

struct ArchiveUnpackResult {
    int errorCode = 0; // 0 when the archive could be opened and listed
    int entryCount = 0;
    int unpackedCount = 0;             // entries written (files and folders)
    std::vector<std::string> problems; // one line per refused or failed entry
};

// True when an entry name may be written below the target folder: relative, no ".." part.
bool isSafeArchiveEntryName(const std::string& name);

ArchiveUnpackResult unpackArchive(const std::filesystem::path& archive,
                                  const std::filesystem::path& targetFolder,
                                  std::uint64_t maxEntrySize, const ArchiveLimits& limits = {});

} // namespace varnix
