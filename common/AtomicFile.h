// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and crash-safe whole-file writes (temporary file in the same folder, then
// rename).
#pragma once

#include "common/Outcome.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace varnix {

// Reads a whole file as bytes; nullopt when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Writes the bytes to a temporary file beside `path`, flushes it and renames it over `path`,
// so a reader sees either the old or the new contents, never a truncated file.
// A failure is WriteFailed with the reason as detail, and leaves `path` untouched.
// Each write first removes the temporary files that earlier writes to the same folder left
// behind when they were killed (see removeStaleTemporaryFiles).
Outcome writeFileAtomically(const std::filesystem::path& path, const std::string& bytes);

// The temporary name a write to `path` uses: ".<name>.vxtmp-<pid>-XXXXXX" (mkstemp pattern).
std::string temporaryFileName(const std::filesystem::path& path);

// A temporary file older than this is stale even when its writer's pid is in use again.
inline constexpr std::chrono::minutes StaleTemporaryAge{10};

// Removes the temporary files of this naming in `folder` whose writer is gone or that are older
// than StaleTemporaryAge; other files, and a running writer's fresh file, stay. Returns how many.
int removeStaleTemporaryFiles(const std::filesystem::path& folder);

} // namespace varnix
