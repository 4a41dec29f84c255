// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/AtomicFile.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace varnix {

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return contents.str();
}

namespace {

constexpr std::string_view TemporaryMark = ".vxtmp-";

// The writer's pid from a temporary name ".<name>.vxtmp-<pid>-XXXXXX"; 0 when not one of ours.
pid_t temporaryOwner(const std::string& name) {
    if (name.size() < 2 || name.front() != '.')
        return 0;
    const std::size_t mark = name.rfind(TemporaryMark);
    if (mark == std::string::npos)
        return 0;
    const std::size_t digits = mark + TemporaryMark.size();
    const std::size_t dash = name.find('-', digits);
    if (dash == std::string::npos || dash == digits || name.size() - dash - 1 != 6)
        return 0;
    long pid = 0;
    for (std::size_t i = digits; i < dash; ++i) {
        if (name[i] < '0' || name[i] > '9' || pid > 4194304)
            return 0;
        pid = pid * 10 + (name[i] - '0');
    }
    return static_cast<pid_t>(pid);
}

} // namespace

std::string temporaryFileName(const std::filesystem::path& path) {
    // The name part is cut so that the temporary name stays within the 255 bytes a name may have.
    return "." + path.filename().string().substr(0, 200) + std::string(TemporaryMark) +
           std::to_string(::getpid()) + "-XXXXXX";
}

int removeStaleTemporaryFiles(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    int removed = 0;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const pid_t owner = temporaryOwner(name);
        if (owner <= 0 || !it->is_regular_file(ec))
            continue;
        // A writer that is gone left it behind; a file older than any write is stale even when
        // its pid has been reused. A running writer's fresh file is left alone.
        const bool ownerGone = ::kill(owner, 0) != 0 && errno == ESRCH;
        std::error_code timeError;
        const auto written = fs::last_write_time(it->path(), timeError);
        const bool old = !timeError && now - written > StaleTemporaryAge;
        if ((ownerGone || old) && fs::remove(it->path(), timeError))
            ++removed;
    }
    return removed;
}

Outcome writeFileAtomically(const std::filesystem::path& path, const std::string& bytes) {
    // The reason is the errno of the call that failed, taken before any clean-up changes it.
    auto fail = [](const std::string& what, int error) {
        return Outcome::failure(Status::WriteFailed, what + ": " + std::strerror(error));
    };
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    removeStaleTemporaryFiles(folder);
    std::string pattern = (folder / temporaryFileName(path)).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return fail("cannot create a temporary file in " + folder.string(), errno);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            const int error = errno;
            if (error == EINTR)
                continue;
            ::close(fd);
            ::unlink(pattern.c_str());
            return fail("cannot write " + pattern, error);
        }
        written += static_cast<std::size_t>(n);
    }
    // mkstemp creates 0600: keep the mode of the file being replaced, else the usual 0644.
    struct stat old {};
    ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    // The descriptor is closed whether or not the flush worked.
    const int syncError = ::fsync(fd) != 0 ? errno : 0;
    const int closeError = ::close(fd) != 0 ? errno : 0;
    if (syncError != 0 || closeError != 0) {
        ::unlink(pattern.c_str());
        return fail("cannot flush " + pattern, syncError != 0 ? syncError : closeError);
    }
    if (::rename(pattern.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(pattern.c_str());
        return fail("cannot replace " + path.string(), error);
    }
    return Outcome::done();
}

} // namespace varnix
