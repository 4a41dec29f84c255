// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and crash-safe whole-file writes (temporary file in the same folder, then rename).
#pragma once

#include "common/Outcome.h"

#include <filesystem>
#include <optional>
#include <string>

namespace varnix {

// Reads a whole file as bytes; nullopt when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Writes the bytes to a temporary file beside `path`, flushes it and renames it over `path`,
// so a reader sees either the old or the new contents, never a truncated file.
// A failure is WriteFailed with the reason as detail, and leaves `path` untouched.
Outcome writeFileAtomically(const std::filesystem::path& path, const std::string& bytes);

} // namespace varnix
