// SPDX-License-Identifier: GPL-3.0-or-later
// Finds running processes by name through /proc.
#pragma once

#include <filesystem>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace varnix {

// The processes of the current user whose name is `name`, compared ignoring case: the kernel's
// process name (comm, which is the name of the executed file, scripts included) or the name of
// the executable. Sorted by id; empty when /proc cannot be read.
std::vector<pid_t> findProcessesByName(std::string_view name,
                                       const std::filesystem::path& procRoot = "/proc");

} // namespace varnix
