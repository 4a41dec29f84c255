// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <sstream>
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

Outcome writeFileAtomically(const std::filesystem::path& path, const std::string& bytes) {
    // The reason is the errno of the call that failed, taken before any clean-up changes it.
    auto fail = [](const std::string& what, int error) {
        return Outcome::failure(Status::WriteFailed, what + ": " + std::strerror(error));
    };
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
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
