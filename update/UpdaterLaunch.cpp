// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/UpdaterLaunch.h"

#include "common/Diagnostics.h"
#include "update/ProcessScan.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace varnix {
namespace {

// What the launching child tells the parent through its pipe.
struct LaunchReport {
    pid_t pid = 0;
    int error = 0; // errno of a failed setsid, fork or exec; 0 when the exec happened
};

bool readFully(int fd, void* into, std::size_t size) {
    auto* bytes = static_cast<char*>(into);
    while (size > 0) {
        const ssize_t got = ::read(fd, bytes, size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

void writeReport(int fd, const LaunchReport& report) {
    // Only async-signal-safe calls between fork and exec.
    [[maybe_unused]] const ssize_t ignored = ::write(fd, &report, sizeof report);
}

LaunchResult startInFolder(const std::filesystem::path& folder, std::string_view name) {
    const std::filesystem::path executable = folder / std::string(name);
    if (::access(executable.c_str(), F_OK) != 0) {
        LaunchResult missing;
        missing.kind = LaunchResult::Kind::NotInstalled;
        missing.detail = executable.string() + " is not installed";
        return missing;
    }
    return startDetached(executable);
}

} // namespace

std::filesystem::path programFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::filesystem::current_path(error);
    return self.parent_path();
}

LaunchResult startDetached(const std::filesystem::path& executable) {
    LaunchResult result;
    const std::string path = executable.string();
    const std::string folder = executable.parent_path().string();
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0) {
        result.detail = std::string("pipe: ") + std::strerror(errno);
        return result;
    }
    const pid_t launcher = ::fork();
    if (launcher < 0) {
        result.detail = std::string("fork: ") + std::strerror(errno);
        ::close(channel[0]);
        ::close(channel[1]);
        return result;
    }
    if (launcher == 0) {
        // The launcher: a new session, then the updater as its child, then it ends at once,
        // so that the updater is adopted by init and never becomes this program's zombie.
        ::close(channel[0]);
        LaunchReport report;
        if (::setsid() < 0) {
            report.error = errno;
            writeReport(channel[1], report);
            ::_exit(1);
        }
        const pid_t updater = ::fork();
        if (updater < 0) {
            report.error = errno;
            writeReport(channel[1], report);
            ::_exit(1);
        }
        if (updater == 0) {
            char* const arguments[] = {const_cast<char*>(path.c_str()), nullptr};
            if (::chdir(folder.c_str()) != 0) {
                // The folder is where the executable is; the start goes on from here.
            }
            ::execv(path.c_str(), arguments);
            report.error = errno;
            writeReport(channel[1], report);
            ::_exit(127);
        }
        report.pid = updater;
        writeReport(channel[1], report);
        ::_exit(0);
    }
    ::close(channel[1]);
    LaunchReport started;
    const bool haveLauncherReport = readFully(channel[0], &started, sizeof started);
    // A second report arrives only when the exec failed; the pipe closes when it succeeds.
    LaunchReport execReport;
    const bool execFailed = haveLauncherReport && started.error == 0 &&
                            readFully(channel[0], &execReport, sizeof execReport);
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(launcher, &status, 0) < 0 && errno == EINTR) {
    }
    if (!haveLauncherReport || started.error != 0) {
        result.detail = path + ": " + std::strerror(haveLauncherReport ? started.error : ECHILD);
        return result;
    }
    if (execFailed) {
        result.detail = path + ": " + std::strerror(execReport.error);
        return result;
    }
    result.kind = LaunchResult::Kind::Started;
    result.pid = started.pid;
    result.detail = formatText("%s started (process %d)", path.c_str(), int(started.pid));
    return result;
}

LaunchResult StartAutoUpdater(const std::filesystem::path& folder,
                              const std::filesystem::path& procRoot) {
    LaunchResult result;
    const std::vector<pid_t> running = findProcessesByName(updater::AutoUpdate, procRoot);
    if (!running.empty()) {
        result.kind = LaunchResult::Kind::AlreadyRunning;
        result.pid = running.front();
        result.detail = formatText("AutoUpdate runs already (process %d)", int(result.pid));
    } else {
        result = startInFolder(folder, updater::AutoUpdate);
    }
    debugOutput("updater: " + result.detail + "\n");
    return result;
}

LaunchResult StartUpgrader(const std::filesystem::path& folder) {
    LaunchResult result = startInFolder(folder, updater::Upgrade);
    debugOutput("updater: " + result.detail + "\n");
    return result;
}

} // namespace varnix
