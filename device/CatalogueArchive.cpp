// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/CatalogueArchive.h"

#include "common/AtomicFile.h"
#include "common/Outcome.h"

#include <algorithm>
#include <array>
#include <memory>
#include <minizip/unzip.h>
#include <vector>

namespace fs = std::filesystem;

namespace varnix {

bool isSafeArchiveEntryName(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\')
        return false;
    if (name.size() >= 2 && name[1] == ':') // drive letter
        return false;
    std::string part;
    // Both separators count: an archive made on another system may use either.
    for (char c : name) {
        if (c == '/' || c == '\\') {
            if (part == "..")
                return false;
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    return part != "..";
}

namespace {

struct ZipCloser {
    void operator()(void* zip) const { unzClose(zip); }
};

std::string normalisedName(std::string name) {
    for (char& c : name)
        if (c == '\\')
            c = '/';
    return name;
}

// The current entry, at most maxSize bytes; Failed when it is larger, Invalid when it is
// corrupt, with the reason as detail.
Expected<std::string> readCurrentEntry(unzFile zip, std::uint64_t maxSize) {
    if (unzOpenCurrentFile(zip) != UNZ_OK)
        return Outcome::failure(Status::Failed, "cannot open entry");
    std::array<char, 65536> chunk{};
    std::string contents;
    Outcome problem = Outcome::done();
    for (;;) {
        const int n = unzReadCurrentFile(zip, chunk.data(), static_cast<unsigned>(chunk.size()));
        if (n < 0) {
            problem = Outcome::failure(Status::Invalid,
                                       "cannot inflate entry (error " + std::to_string(n) + ")");
            break;
        }
        if (n == 0)
            break;
        if (contents.size() + static_cast<std::size_t>(n) > maxSize) {
            problem = Outcome::failure(Status::Failed,
                                       "entry larger than " + std::to_string(maxSize) + " bytes");
            break;
        }
        contents.append(chunk.data(), static_cast<std::size_t>(n));
    }
    // A CRC mismatch shows up when the entry is closed; the entry is closed in any case.
    if (unzCloseCurrentFile(zip) != UNZ_OK && problem)
        problem = Outcome::failure(Status::Invalid, "entry fails its checksum");
    if (!problem)
        return problem;
    return contents;
}

// The current entry's description and its name, read with the length the archive gives it.
bool readEntryName(unzFile zip, unz_file_info64& info, std::string& name) {
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    name.assign(info.size_filename, '\0');
    if (name.empty() || name.size() > MaxArchiveEntryNameLength)
        return true; // refused by the caller without reading it
    // minizip terminates the name only when the buffer has room: give it one byte more.
    std::vector<char> buffer(name.size() + 1, '\0');
    if (unzGetCurrentFileInfo64(zip, &info, buffer.data(), static_cast<uLong>(buffer.size()),
                                nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    name.assign(buffer.data(), info.size_filename);
    return true;
}

// True when a part of `relative` below `folder` (the entry itself included) already exists as a
// symbolic link: writing through it could land outside the folder.
bool passesThroughLink(const fs::path& folder, const std::string& relative) {
    fs::path at = folder;
    for (const fs::path& part : fs::path(relative)) {
        if (part.empty() || part == ".")
            continue;
        at /= part;
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(at, ec);
        if (ec || status.type() == fs::file_type::not_found)
            return false;
        if (status.type() == fs::file_type::symlink)
            return true;
    }
    return false;
}

} // namespace

ArchiveUnpackResult unpackArchive(const fs::path& archive, const fs::path& targetFolder,
                                  std::uint64_t maxEntrySize, const ArchiveLimits& limits) {
    ArchiveUnpackResult result;
    std::unique_ptr<void, ZipCloser> zip(unzOpen64(archive.c_str()));
    if (!zip) {
        result.errorCode = ArchiveOpenFailed;
        return result;
    }
    unz_global_info64 global{};
    if (const int rc = unzGetGlobalInfo64(zip.get(), &global); rc != UNZ_OK) {
        result.errorCode = rc == UNZ_PARAMERROR ? ArchiveNotOpen : rc;
        return result;
    }
    if (global.number_entry > limits.maxEntries) {
        result.errorCode = ArchiveTooLarge;
        result.problems.push_back("refused, " + std::to_string(global.number_entry) +
                                  " entries (at most " + std::to_string(limits.maxEntries) + ")");
        return result;
    }
    result.entryCount = static_cast<int>(global.number_entry);
    std::uint64_t unpackedBytes = 0;
    std::error_code ec;
    fs::create_directories(targetFolder, ec);
    int rc = unzGoToFirstFile(zip.get());
    for (int i = 0; i < result.entryCount && rc == UNZ_OK; ++i, rc = unzGoToNextFile(zip.get())) {
        unz_file_info64 info{};
        std::string name;
        if (!readEntryName(zip.get(), info, name)) {
            result.problems.push_back("entry " + std::to_string(i) + ": unreadable description");
            continue;
        }
        if (name.size() > MaxArchiveEntryNameLength) {
            result.problems.push_back("entry " + std::to_string(i) + ": refused, its name is " +
                                      std::to_string(name.size()) + " bytes long");
            continue;
        }
        auto refuse = [&](const std::string& why) {
            result.problems.push_back("entry '" + name + "': " + why);
        };
        if (name.find('\0') != std::string::npos || !isSafeArchiveEntryName(name)) {
            refuse("refused, its name leads outside the target folder");
            continue;
        }
        const fs::path target = targetFolder / normalisedName(name);
        if (passesThroughLink(targetFolder, normalisedName(name))) {
            refuse("refused, a symbolic link is in its way");
            continue;
        }
        if (name.back() == '/' || name.back() == '\\') {
            fs::create_directories(target, ec);
            if (ec)
                refuse("cannot create folder: " + ec.message());
            else
                ++result.unpackedCount;
            continue;
        }
        if (info.uncompressed_size > maxEntrySize) {
            refuse("refused, larger than " + std::to_string(maxEntrySize) + " bytes");
            continue;
        }
        if (info.uncompressed_size > limits.maxTotalSize - unpackedBytes) {
            refuse("refused, the archive unpacks to more than " +
                   std::to_string(limits.maxTotalSize) + " bytes");
            break;
        }
        const Expected<std::string> contents = readCurrentEntry(
            zip.get(), std::min(maxEntrySize, limits.maxTotalSize - unpackedBytes));
        if (!contents) {
            refuse(contents.outcome().detail);
            continue;
        }
        unpackedBytes += contents->size();
        // Every start unpacks the same archive: a file that already holds the entry's bytes stays
        // as it is, so that a start costs no writes (each replacement is synced to the disk).
        if (const std::optional<std::string> existing = readWholeFile(target);
            existing && *existing == *contents) {
            ++result.unpackedCount;
            continue;
        }
        fs::create_directories(target.parent_path(), ec);
        if (const Outcome written = writeFileAtomically(target, *contents); !written) {
            refuse(written.detail);
            continue;
        }
        ++result.unpackedCount;
    }
    return result;
}

} // namespace varnix
