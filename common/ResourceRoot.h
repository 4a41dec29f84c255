// SPDX-License-Identifier: GPL-3.0-or-later
// Finds the folder that all relative resource names ("res/...") are resolved against.
#pragma once

#include <filesystem>
#include <string>

namespace varnix {

// Order: $VARNIX_RES; ./res in the working folder; $XDG_DATA_HOME/varnix/res (or
// ~/.local/share/varnix/res), copied from the installed read-only tree on first use.
// `installedTree` is the read-only tree of the installation (empty: the build's default).
std::filesystem::path findResourceRoot(const std::filesystem::path& installedTree = {});

// The installed read-only resource tree of this build (<prefix>/share/varnix/res).
std::filesystem::path installedResourceTree();

} // namespace varnix
