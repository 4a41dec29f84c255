// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ResourceSeed.h"

#include "common/AtomicFile.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace varnix {
namespace {

constexpr const char* kManifestHeader = "varnix-seed 1";
constexpr const char* kSeedFolderPrefix = ".seed-";

// FNV-1a over the bytes: enough to tell whether a file changed since it was copied.
std::uint64_t contentHash(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::optional<std::uint64_t> fileHash(const fs::path& path) {
    const auto bytes = readWholeFile(path);
    if (!bytes)
        return std::nullopt;
    return contentHash(*bytes);
}

struct Manifest {
    std::string state;                          // what the installed tree looked like
    std::map<std::string, std::uint64_t> files; // relative path -> hash as copied
};

// Relative paths of the regular files under `root` (the record itself left out), and a short
// description of the tree (count, total size, newest time) that changes with any upgrade.
std::vector<std::string> listFiles(const fs::path& root, std::string* state, std::error_code& ec) {
    std::vector<std::string> files;
    std::uintmax_t total = 0;
    fs::file_time_type newest = fs::file_time_type::min();
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code entryError;
        if (!it->is_regular_file(entryError))
            continue;
        const std::string relative = it->path().lexically_relative(root).generic_string();
        if (relative == kSeedManifestName)
            continue;
        files.push_back(relative);
        total += it->file_size(entryError);
        newest = std::max(newest, it->last_write_time(entryError));
    }
    if (state) {
        *state = std::to_string(files.size()) + " " + std::to_string(total) + " " +
                 std::to_string(newest.time_since_epoch().count());
    }
    return files;
}

std::optional<Manifest> readManifest(const fs::path& user) {
    std::ifstream in(user / kSeedManifestName);
    std::string line;
    if (!in || !std::getline(in, line) || line != kManifestHeader)
        return std::nullopt;
    Manifest manifest;
    if (!std::getline(in, manifest.state))
        return std::nullopt;
    while (std::getline(in, line)) {
        const auto space = line.find(' ');
        if (space == std::string::npos)
            return std::nullopt;
        manifest.files[line.substr(space + 1)] = std::strtoull(line.c_str(), nullptr, 16);
    }
    return manifest;
}

Outcome writeManifest(const fs::path& user, const Manifest& manifest) {
    std::ostringstream out;
    out << kManifestHeader << '\n' << manifest.state << '\n';
    char hex[17];
    for (const auto& [path, hash] : manifest.files) {
        std::snprintf(hex, sizeof hex, "%016" PRIx64, hash);
        out << hex << ' ' << path << '\n';
    }
    return writeFileAtomically(user / kSeedManifestName, out.str());
}

Outcome writeInto(const fs::path& to, const std::string& bytes) {
    std::error_code ec;
    fs::create_directories(to.parent_path(), ec);
    if (ec)
        return Outcome::failure(Status::WriteFailed,
                                to.parent_path().string() + ": " + ec.message());
    return writeFileAtomically(to, bytes);
}

Outcome copyFileAtomically(const fs::path& from, const fs::path& to) {
    const auto bytes = readWholeFile(from);
    if (!bytes)
        return Outcome::failure(Status::Failed, "cannot read " + from.string());
    return writeInto(to, *bytes);
}

bool holdsFiles(const fs::path& folder) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (std::error_code e; it->is_regular_file(e))
            return true;
    return false;
}

// Seed folders of earlier starts that ended before the rename.
void removeStaleSeedFolders(const fs::path& parent, const std::string& prefix) {
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(prefix)) {
            std::error_code ignored;
            fs::remove_all(it->path(), ignored);
        }
    }
}

SeedReport freshCopy(const fs::path& installed, const fs::path& user,
                     const std::vector<std::string>& files, const std::string& state) {
    SeedReport report;
    report.freshCopy = true;
    const fs::path parent = user.parent_path();
    const std::string prefix = kSeedFolderPrefix + user.filename().string() + "-";
    std::error_code ec;
    fs::create_directories(parent, ec);
    if (ec) {
        report.outcome =
            Outcome::failure(Status::WriteFailed, parent.string() + ": " + ec.message());
        return report;
    }
    removeStaleSeedFolders(parent, prefix);
    const fs::path staging = parent / (prefix + std::to_string(::getpid()));
    Manifest manifest{state, {}};
    for (const std::string& file : files) {
        const auto bytes = readWholeFile(installed / file);
        Outcome copied = bytes ? writeInto(staging / file, *bytes)
                               : Outcome::failure(Status::Failed, "cannot read " + file);
        if (!copied) {
            fs::remove_all(staging, ec);
            report.outcome = copied;
            return report;
        }
        manifest.files[file] = contentHash(*bytes);
        ++report.added;
    }
    if (Outcome written = writeManifest(staging, manifest); !written) {
        fs::remove_all(staging, ec);
        report.outcome = written;
        return report;
    }
    // An empty folder from an earlier failure gives way to the complete copy.
    fs::remove_all(user, ec);
    fs::rename(staging, user, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        report.outcome = Outcome::failure(
            Status::WriteFailed, "cannot move the copy to " + user.string() + ": " + ec.message());
    }
    return report;
}

} // namespace

SeedReport seedUserTree(const fs::path& installed, const fs::path& user) {
    SeedReport report;
    std::error_code ec;
    std::string state;
    if (!fs::is_directory(installed, ec)) {
        if (readManifest(user))
            return report; // a complete copy; the installed tree is gone or moved
        report.outcome = Outcome::failure(Status::Missing, "the installed resource tree " +
                                                               installed.string() + " is missing");
        return report;
    }
    const std::vector<std::string> files = listFiles(installed, &state, ec);
    if (ec) {
        report.outcome = Outcome::failure(Status::Failed, installed.string() + ": " + ec.message());
        return report;
    }
    const std::optional<Manifest> previous = readManifest(user);
    if (!previous && !holdsFiles(user))
        return freshCopy(installed, user, files, state);
    if (previous && previous->state == state)
        return report; // up to date

    Manifest manifest{state, {}};
    for (const std::string& file : files) {
        const auto shipped = fileHash(installed / file);
        if (!shipped) {
            report.outcome = Outcome::failure(Status::Failed, "cannot read " + file);
            return report;
        }
        const fs::path target = user / file;
        const auto current = fs::exists(target, ec) ? fileHash(target) : std::nullopt;
        std::optional<std::uint64_t> asCopied;
        if (previous)
            if (const auto entry = previous->files.find(file); entry != previous->files.end())
                asCopied = entry->second;
        std::uint64_t recorded = *shipped;
        if (!current) {
            if (Outcome c = copyFileAtomically(installed / file, target); !c) {
                report.outcome = c;
                return report;
            }
            ++report.added;
        } else if (*current == *shipped) {
            // already the shipped contents
        } else if (asCopied && *current == *asCopied) {
            if (Outcome c = copyFileAtomically(installed / file, target); !c) {
                report.outcome = c;
                return report;
            }
            ++report.updated;
        } else {
            // The user's own contents: remember what was copied, so the file stays the user's.
            recorded = asCopied.value_or(*shipped);
            ++report.kept;
        }
        manifest.files[file] = recorded;
    }
    report.outcome = writeManifest(user, manifest);
    return report;
}

} // namespace varnix
