// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/ProcessScan.h"

#include "common/AtomicFile.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace varnix {
namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::vector<pid_t> findProcessesByName(std::string_view name,
                                       const std::filesystem::path& procRoot) {
    std::vector<pid_t> found;
    std::error_code error;
    std::filesystem::directory_iterator entries(procRoot, error);
    if (error)
        return found;
    const uid_t user = ::getuid();
    for (const auto& entry : entries) {
        const std::string id = entry.path().filename().string();
        if (id.empty() ||
            !std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        struct stat owner {};
        if (::stat(entry.path().c_str(), &owner) != 0 || owner.st_uid != user)
            continue;
        // A zombie has ended; only its entry is left until its parent reaps it.
        if (std::optional<std::string> stat = readWholeFile(entry.path() / "stat")) {
            const std::size_t close = stat->rfind(')');
            if (close != std::string::npos && close + 2 < stat->size() && (*stat)[close + 2] == 'Z')
                continue;
        }
        bool matches = false;
        if (std::optional<std::string> comm = readWholeFile(entry.path() / "comm")) {
            while (!comm->empty() && (comm->back() == '\n' || comm->back() == '\0'))
                comm->pop_back();
            matches = sameIgnoringCase(*comm, name);
        }
        if (!matches) {
            std::error_code unreadable;
            const std::filesystem::path exe =
                std::filesystem::read_symlink(entry.path() / "exe", unreadable);
            matches = !unreadable && sameIgnoringCase(exe.filename().string(), name);
        }
        if (matches)
            found.push_back(static_cast<pid_t>(std::stol(id)));
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace varnix
