// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/CatalogueArchive.h"

#include "common/AtomicFile.h"

#include <minizip/unzip.h>

#include <array>
#include <memory>

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

// Reads the current entry, at most maxSize bytes; false when it is larger or unreadable.
bool readCurrentEntry(unzFile zip, std::uint64_t maxSize, std::string& contents,
                      std::string& problem) {
    if (unzOpenCurrentFile(zip) != UNZ_OK) {
        problem = "cannot open entry";
        return false;
    }
    std::array<char, 65536> chunk{};
    bool ok = true;
    for (;;) {
        const int n = unzReadCurrentFile(zip, chunk.data(), static_cast<unsigned>(chunk.size()));
        if (n < 0) {
            problem = "cannot inflate entry (error " + std::to_string(n) + ")";
            ok = false;
            break;
        }
        if (n == 0)
            break;
        if (contents.size() + static_cast<std::size_t>(n) > maxSize) {
            problem = "entry larger than " + std::to_string(maxSize) + " bytes";
            ok = false;
            break;
        }
        contents.append(chunk.data(), static_cast<std::size_t>(n));
    }
    // A CRC mismatch shows up when the entry is closed.
    if (unzCloseCurrentFile(zip) != UNZ_OK && ok) {
        problem = "entry fails its checksum";
        ok = false;
    }
    return ok;
}

} // namespace

ArchiveUnpackResult unpackArchive(const fs::path& archive, const fs::path& targetFolder,
                                  std::uint64_t maxEntrySize) {
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
    result.entryCount = static_cast<int>(global.number_entry);
    std::error_code ec;
    fs::create_directories(targetFolder, ec);
    int rc = unzGoToFirstFile(zip.get());
    for (int i = 0; i < result.entryCount && rc == UNZ_OK; ++i, rc = unzGoToNextFile(zip.get())) {
        unz_file_info64 info{};
        std::array<char, 1024> rawName{};
        if (unzGetCurrentFileInfo64(zip.get(), &info, rawName.data(),
                                    static_cast<uLong>(rawName.size()), nullptr, 0, nullptr,
                                    0) != UNZ_OK) {
            result.problems.push_back("entry " + std::to_string(i) + ": unreadable description");
            continue;
        }
        const std::string name(rawName.data());
        auto refuse = [&](const std::string& why) {
            result.problems.push_back("entry '" + name + "': " + why);
        };
        if (!isSafeArchiveEntryName(name)) {
            refuse("refused, its name leads outside the target folder");
            continue;
        }
        const fs::path target = targetFolder / normalisedName(name);
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
        std::string contents;
        std::string problem;
        if (!readCurrentEntry(zip.get(), maxEntrySize, contents, problem)) {
            refuse(problem);
            continue;
        }
        fs::create_directories(target.parent_path(), ec);
        if (const Outcome written = writeFileAtomically(target, contents); !written) {
            refuse(written.detail);
            continue;
        }
        ++result.unpackedCount;
    }
    return result;
}

} // namespace varnix
