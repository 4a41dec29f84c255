// SPDX-License-Identifier: GPL-3.0-or-later
// The user's copy of the installed resource tree: made once, repaired when an earlier copy was
// cut short, and brought up to date after an upgrade without touching the user's own edits.
#pragma once

#include "common/Outcome.h"

#include <filesystem>

namespace varnix {

// The record of a copy, kept at the top of the user's tree: the installed tree it came from
// and the contents of each file as it was copied.
inline constexpr const char* kSeedManifestName = ".varnix-seed";

struct SeedReport {
    Outcome outcome;
    int added = 0;   // files that were missing in the user's tree
    int updated = 0; // files the installed tree changed and the user had left as copied
    int kept = 0;    // files the user changed, left as they are
    bool freshCopy = false;
};

// Makes `user` a complete copy of `installed`:
// - no folder, or an empty one: the tree is copied into a temporary folder beside `user` and
//   renamed into place only when complete, so a failure never leaves a half tree behind;
// - a folder without the record (cut short by an earlier failure, or made by an older version):
//   missing files are added, existing ones kept;
// - a folder whose record names another installed state: files the user has not changed since
//   they were copied are replaced by the new ones, new files are added, changed ones kept.
// Files the program writes later (configurations, unpacked catalogue images) are never removed.
SeedReport seedUserTree(const std::filesystem::path& installed, const std::filesystem::path& user);

} // namespace varnix
