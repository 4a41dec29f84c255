// SPDX-License-Identifier: GPL-3.0-or-later
// INI file access with the rules of the classic profile-string calls.
#pragma once

#include "common/Outcome.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace varnix {

// Reads and edits one INI file the way the program's data files expect:
// - sections ("[name]") and keys are matched ignoring (ASCII) case; the first match wins;
// - a line is split at its first "="; key and value lose surrounding blanks, and a value
//   enclosed in matching single or double quotes loses the quotes when read;
// - a missing key gives the caller's default;
// - a buffer length, counted in characters with room for the terminating NUL, cuts the
//   text read to bufferLength - 1 characters, as a fixed read buffer would;
// - lines starting with ";" are comments; lines before the first section belong to none;
// - a NUL byte ends the text of its line; files are UTF-8 (a UTF-8 byte order mark is kept,
//   UTF-16 files with a byte order mark are read and written back as UTF-8);
// - writing a key rewrites only that key's line (or adds one) and keeps every other line;
//   the file is replaced atomically.
// A file that cannot be read behaves as an empty one.
class IniFile {
public:
    // No limit on the text read.
    static constexpr std::size_t Unlimited = std::numeric_limits<std::size_t>::max();
    // Files larger than this are not read (they behave as empty).
    static constexpr std::uintmax_t MaxFileSize = 16u * 1024u * 1024u;

    struct Entry {
        std::string key;
        std::string value; // trimmed, quotes kept
        bool hasEquals = false;
    };

    IniFile() = default;
    // Reads the file now; a missing or unreadable file gives an empty one.
    explicit IniFile(std::filesystem::path path);
    // An in-memory file with the given contents, not tied to a path (setString fails).
    static IniFile fromText(std::string_view text);

    const std::filesystem::path& path() const { return path_; }
    // True when the file existed and could be read at the last (re)load.
    bool wasRead() const { return wasRead_; }
    // Reads the file again from disk.
    void reload();

    std::string getString(std::string_view section, std::string_view key,
                          std::string_view defaultValue = {},
                          std::size_t bufferLength = Unlimited) const;
    // The text read as getString does, converted like the C library's decimal conversion
    // (leading blanks, optional sign, digits; no digits gives 0). An absent key or an empty
    // text gives defaultValue.
    int getInt(std::string_view section, std::string_view key, int defaultValue = 0,
               std::size_t bufferLength = Unlimited) const;
    bool hasKey(std::string_view section, std::string_view key) const;

    // Distinct section names in file order (first spelling).
    std::vector<std::string> sections() const;
    // Keys of a section in file order, each once (first spelling).
    std::vector<std::string> keys(std::string_view section) const;
    // The entries of a section in file order ("key=value" lines and lines without "=").
    std::vector<Entry> entries(std::string_view section) const;
    // The section read whole, one text per entry: "key=value", or the bare line without "=".
    std::vector<std::string> sectionLines(std::string_view section) const;

    // Writes key=value into the file on disk (read again first, so other changes are kept)
    // and into this object. Invalid for texts that cannot be stored on one line, WriteFailed
    // for an object without a path or a file that cannot be written; the file is then unchanged.
    Outcome setString(std::string_view section, std::string_view key, std::string_view value);
    Outcome setInt(std::string_view section, std::string_view key, int value);

    // Decimal conversion of the C library (atoi), clamped to the int range.
    static int toInt(std::string_view text);
    // The first `count` characters (code points) of a UTF-8 text.
    static std::string firstCharacters(std::string_view text, std::size_t count);
    // The text a read buffer of bufferLength characters holds (bufferLength - 1 characters).
    static std::string fitToBuffer(std::string_view text, std::size_t bufferLength);

private:
    struct Section {
        std::string name;
        std::size_t headerLine = 0;
        std::vector<std::size_t> entryLines;
    };

    void setContents(std::string_view bytes);
    void index();
    const Entry* findEntry(std::string_view section, std::string_view key,
                           std::size_t* lineIndex = nullptr) const;
    std::string serialise() const;

    std::filesystem::path path_;
    bool wasRead_ = false;
    bool utf8Bom_ = false;
    std::string lineEnd_ = "\n";
    std::vector<std::string> lines_; // raw lines without their line ends
    std::vector<Entry> lineEntries_; // parsed form of each line (entries only)
    std::vector<bool> isEntry_;      // whether lines_[i] is an entry of a section
    std::vector<Section> sections_;
};

} // namespace varnix
