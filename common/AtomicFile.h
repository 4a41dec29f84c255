// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and crash-safe whole-file writes (temporary file in the same folder, then rename).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace varnix {

// Reads a whole file as bytes; nullopt when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Writes the bytes to a temporary file beside `path`, flushes it and renames it over `path`,
// so a reader sees either the old or the new contents, never a truncated file.
// On failure returns false, leaves `path` untouched and fills `error` when given.
bool writeFileAtomically(const std::filesystem::path& path, const std::string& bytes,
                         std::string* error = nullptr);

} // namespace varnix
