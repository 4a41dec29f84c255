// SPDX-License-Identifier: GPL-3.0-or-later
// The hand-over to the external updaters, separate executables beside the program:
// "AutoUpdate" (after a positive version check) and "Upgrade" (from the version window).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace varnix {

namespace updater {
inline constexpr std::string_view AutoUpdate = "AutoUpdate";
inline constexpr std::string_view Upgrade = "Upgrade";
} // namespace updater

// The folder of the running executable (/proc/self/exe), without a trailing separator.
std::filesystem::path programFolder();

struct LaunchResult {
    enum class Kind {
        Started,        // a new process runs the updater
        AlreadyRunning, // one runs already; it is left to the desktop to bring it forward
        NotInstalled,   // no executable of that name beside the program
        Failed,         // it is there but could not be started
    };
    Kind kind = Kind::Failed;
    pid_t pid = 0; // the started or the running process
    std::string detail;
};

// Starts `executable` with no arguments in a new session, so that it outlives this program
// and is never its child; the working folder is the executable's folder. Returns once the
// executable was loaded (or failed to load).
LaunchResult startDetached(const std::filesystem::path& executable);

// A running "AutoUpdate" of this user is left alone (AlreadyRunning); otherwise the one in
// `folder` is started.
LaunchResult StartAutoUpdater(const std::filesystem::path& folder,
                              const std::filesystem::path& procRoot = "/proc");

// Starts "Upgrade" in `folder`; the caller ends the program when it started.
LaunchResult StartUpgrader(const std::filesystem::path& folder);

} // namespace varnix
