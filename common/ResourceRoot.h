// SPDX-License-Identifier: GPL-3.0-or-later
// Finds the folder that all relative resource names ("res/...") are resolved against.
#pragma once

#include "common/Outcome.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace varnix {

// Order: $VARNIX_RES; ./res in the working folder; $XDG_DATA_HOME/varnix/res (or
// ~/.local/share/varnix/res), a copy of the installed read-only tree kept up to date with it
// (see ResourceSeed.h). `installedTree` is the read-only tree of the installation (empty:
// installedResourceTree()). When the copy cannot be made, `seeding` (if given) receives why.
std::filesystem::path findResourceRoot(const std::filesystem::path& installedTree = {},
                                       Outcome* seeding = nullptr);

// The installed read-only resource tree: `../share/varnix/res` beside the folder of the
// program (`executable`, empty: the running one), so that an installation can be moved to any
// prefix; else the prefix configured at build time.
std::filesystem::path installedResourceTree(const std::filesystem::path& executable = {});

// Turns a resource name as the program's tables and files write it ("./res/Set.ini",
// "res\\Language\\lan_en.ini", ".\\res\\Home\\Home.json", "MacroKorv/png/1.png") into a
// path under `root`: backslashes become slashes, leading "./" parts and one leading "res/" are
// dropped, and the rest is appended to `root`. An absolute name is returned unchanged.
std::filesystem::path resolveResourcePath(const std::filesystem::path& root,
                                          std::string_view described);

} // namespace varnix
