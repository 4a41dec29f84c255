// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/DownloadToFolder.h"

#include "common/Diagnostics.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnix {
namespace {

// A file descriptor closed when it goes.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd() const { return fd_; }
    bool close() {
        if (fd_ < 0)
            return true;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return closed;
    }

private:
    int fd_;
};

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

DownloadResult failed(DownloadResult result, std::string detail) {
    result.path.clear();
    result.detail = std::move(detail);
    debugOutput("download: " + result.detail + "\n");
    return result;
}

} // namespace

std::string downloadFileName(const std::string& url) {
    std::string name =
        url.substr(url.find_last_of('/') == std::string::npos ? 0 : url.find_last_of('/') + 1);
    name = name.substr(0, name.find_first_of("?#"));
    if (name.empty() || name == "." || name == ".." || name.find('\\') != std::string::npos)
        return {};
    return name;
}

DownloadResult downloadFile(const std::string& url, const std::filesystem::path& target,
                            const TransferLimits& limits, const TransferHooks& hooks) {
    DownloadResult result;
    // The temporary file lies beside the target, so that the rename stays in one file system.
    std::string pattern =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    FileHandle file(::mkostemp(pattern.data(), O_CLOEXEC));
    if (file.fd() < 0)
        return failed(result, "cannot create a file in " + target.parent_path().string() + ": " +
                                  std::strerror(errno));
    const std::filesystem::path temporary = pattern;
    // mkostemp makes the file private; the finished file reads like any other one.
    ::fchmod(file.fd(), 0644);
    auto discard = [&](std::string why) {
        file.close();
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return failed(result, url + ": " + why);
    };

    TransferHooks receiving = hooks;
    receiving.body = [&file](const char* data, std::size_t size) {
        return writeAll(file.fd(), data, size);
    };
    result.transfer = httpGet(url, limits, receiving);
    if (!result.transfer.completed())
        return discard(describeTransfer(result.transfer));
    if (result.transfer.responseCode != 200)
        return discard(describeTransfer(result.transfer));
    if (::fsync(file.fd()) != 0 || !file.close())
        return discard(std::string("cannot write the file: ") + std::strerror(errno));
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error)
        return discard("cannot rename to " + target.string() + ": " + error.message());
    result.path = target;
    return result;
}

DownloadResult DownloadToFolder(const std::string& url, const std::filesystem::path& folder,
                                const TransferLimits& limits, const TransferHooks& hooks) {
    const std::string name = downloadFileName(url);
    if (name.empty())
        return failed({}, url + ": the address names no file");
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return failed({}, "cannot create " + folder.string() + ": " + error.message());
    return downloadFile(url, folder / name, limits, hooks);
}

} // namespace varnix
