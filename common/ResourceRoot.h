// SPDX-License-Identifier: GPL-3.0-or-later
// Finds the folder that all relative resource names ("res/...") are resolved against.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace varnix {

// Order: $VARNIX_RES; ./res in the working folder; $XDG_DATA_HOME/varnix/res (or
// ~/.local/share/varnix/res), copied from the installed read-only tree on first use.
// `installedTree` is the read-only tree of the installation (empty: the build's default).
std::filesystem::path findResourceRoot(const std::filesystem::path& installedTree = {});

// The installed read-only resource tree of this build (<prefix>/share/varnix/res).
std::filesystem::path installedResourceTree();

// Turns a resource name as the program's tables and files write it ("./res/Set.ini",
// "res\\Language\\lan_en.ini", ".\\res\\Home\\Home.json", "MacroKorv/png/1.png") into a
// path under `root`: backslashes become slashes, leading "./" parts and one leading "res/" are
// dropped, and the rest is appended to `root`. An absolute name is returned unchanged.
std::filesystem::path resolveResourcePath(const std::filesystem::path& root,
                                          std::string_view described);

} // namespace varnix
