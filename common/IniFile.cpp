// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/IniFile.h"

#include "common/AtomicFile.h"
#include "common/Diagnostics.h"

#include <algorithm>
#include <climits>
#include <system_error>

namespace varnix {
namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view Blanks = " \t\r\n\v\f";

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(Blanks);
    return text.substr(first, last - first + 1);
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 text (after its byte order mark) to UTF-8; unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                cp = 0xFFFD;
            }
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        appendUtf8(out, cp);
    }
    return out;
}

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {
    reload();
}

IniFile IniFile::fromText(std::string_view text) {
    IniFile file;
    file.setContents(text);
    file.wasRead_ = true;
    return file;
}

void IniFile::reload() {
    wasRead_ = false;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path_, ec);
    if (!ec && size > MaxFileSize) {
        debugOutput("INI file " + path_.string() + " is too large, not read\n");
        setContents({});
        return;
    }
    const auto bytes = ec ? std::nullopt : readWholeFile(path_);
    setContents(bytes ? *bytes : std::string());
    wasRead_ = bytes.has_value();
}

void IniFile::setContents(std::string_view bytes) {
    std::string converted;
    utf8Bom_ = false;
    if (bytes.starts_with(Utf8Bom)) {
        utf8Bom_ = true;
        bytes.remove_prefix(Utf8Bom.size());
    } else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        converted = utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE');
        bytes = converted;
    }
    lineEnd_ = bytes.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    lines_.clear();
    std::size_t start = 0;
    while (start < bytes.size()) {
        auto end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines_.emplace_back(line);
        start = end + 1;
    }
    index();
}

void IniFile::index() {
    sections_.clear();
    lineEntries_.assign(lines_.size(), Entry{});
    isEntry_.assign(lines_.size(), false);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string_view text = lines_[i];
        // A NUL byte ends what a C-string reader would see of this line.
        if (const auto nul = text.find('\0'); nul != std::string_view::npos)
            text = text.substr(0, nul);
        text = trim(text);
        if (text.empty() || text.front() == ';')
            continue;
        if (text.front() == '[') {
            const auto close = text.rfind(']');
            const auto name = close == 0 || close == std::string_view::npos
                                  ? text.substr(1)
                                  : text.substr(1, close - 1);
            sections_.push_back(Section{std::string(trim(name)), i, {}});
            continue;
        }
        if (sections_.empty())
            continue;
        Entry entry;
        const auto equals = text.find('=');
        entry.hasEquals = equals != std::string_view::npos;
        entry.key = trim(text.substr(0, equals));
        if (entry.hasEquals)
            entry.value = trim(text.substr(equals + 1));
        lineEntries_[i] = std::move(entry);
        isEntry_[i] = true;
        sections_.back().entryLines.push_back(i);
    }
}

const IniFile::Entry* IniFile::findEntry(std::string_view section, std::string_view key,
                                         std::size_t* lineIndex) const {
    const std::string_view wantedSection = trim(section);
    const std::string_view wantedKey = trim(key);
    for (const Section& candidate : sections_) {
        if (!equalsIgnoringCase(candidate.name, wantedSection))
            continue;
        for (const std::size_t line : candidate.entryLines) {
            if (equalsIgnoringCase(lineEntries_[line].key, wantedKey)) {
                if (lineIndex)
                    *lineIndex = line;
                return &lineEntries_[line];
            }
        }
    }
    return nullptr;
}

std::string IniFile::firstCharacters(std::string_view text, std::size_t count) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isContinuationByte(text[i]))
            continue;
        if (characters == count)
            return std::string(text.substr(0, i));
        ++characters;
    }
    return std::string(text);
}

std::string IniFile::fitToBuffer(std::string_view text, std::size_t bufferLength) {
    if (bufferLength == 0)
        return {};
    return firstCharacters(text, bufferLength - 1);
}

std::string IniFile::getString(std::string_view section, std::string_view key,
                               std::string_view defaultValue, std::size_t bufferLength) const {
    const Entry* entry = findEntry(section, key);
    if (!entry)
        return fitToBuffer(defaultValue, bufferLength);
    std::string_view value = entry->value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return fitToBuffer(value, bufferLength);
}

int IniFile::toInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && Blanks.find(text[i]) != std::string_view::npos)
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1; // saturate, keep scanning digits
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int IniFile::getInt(std::string_view section, std::string_view key, int defaultValue,
                    std::size_t bufferLength) const {
    const std::string text = getString(section, key, {}, bufferLength);
    return text.empty() ? defaultValue : toInt(text);
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
    return findEntry(section, key) != nullptr;
}

std::vector<std::string> IniFile::sections() const {
    std::vector<std::string> names;
    for (const Section& section : sections_) {
        const bool known = std::any_of(names.begin(), names.end(), [&](const std::string& n) {
            return equalsIgnoringCase(n, section.name);
        });
        if (!known)
            names.push_back(section.name);
    }
    return names;
}

std::vector<IniFile::Entry> IniFile::entries(std::string_view section) const {
    std::vector<Entry> result;
    for (const Section& candidate : sections_) {
        if (!equalsIgnoringCase(candidate.name, trim(section)))
            continue;
        for (const std::size_t line : candidate.entryLines)
            result.push_back(lineEntries_[line]);
    }
    return result;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
    std::vector<std::string> names;
    for (const Entry& entry : entries(section)) {
        const bool known = std::any_of(names.begin(), names.end(), [&](const std::string& n) {
            return equalsIgnoringCase(n, entry.key);
        });
        if (!known)
            names.push_back(entry.key);
    }
    return names;
}

std::vector<std::string> IniFile::sectionLines(std::string_view section) const {
    std::vector<std::string> lines;
    for (const Entry& entry : entries(section))
        lines.push_back(entry.hasEquals ? entry.key + "=" + entry.value : entry.key);
    return lines;
}

std::string IniFile::serialise() const {
    std::string out = utf8Bom_ ? std::string(Utf8Bom) : std::string();
    for (const std::string& line : lines_)
        out += line + lineEnd_;
    return out;
}

Outcome IniFile::setString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view cleanSection = trim(section);
    const std::string_view cleanKey = trim(key);
    constexpr std::string_view LineBreaks("\r\n\0", 3);
    if (path_.empty())
        return Outcome::failure(Status::WriteFailed, "no file to write");
    if (cleanSection.empty() || cleanKey.empty() ||
        cleanSection.find_first_of(LineBreaks) != std::string_view::npos ||
        cleanSection.find(']') != std::string_view::npos ||
        cleanKey.find_first_of(LineBreaks) != std::string_view::npos ||
        cleanKey.find('=') != std::string_view::npos || cleanKey.front() == '[' ||
        cleanKey.front() == ';' || value.find_first_of(LineBreaks) != std::string_view::npos)
        return Outcome::failure(Status::Invalid,
                                "section, key or value cannot be stored in an INI line");

    reload(); // edit what is on disk now, not an older snapshot
    const std::string newLine = std::string(cleanKey) + "=" + std::string(value);
    std::size_t lineIndex = 0;
    if (findEntry(cleanSection, cleanKey, &lineIndex)) {
        lines_[lineIndex] = lineEntries_[lineIndex].key + "=" + std::string(value);
    } else {
        const auto target = std::find_if(sections_.begin(), sections_.end(), [&](const auto& s) {
            return equalsIgnoringCase(s.name, cleanSection);
        });
        if (target != sections_.end()) {
            const std::size_t after =
                target->entryLines.empty() ? target->headerLine : target->entryLines.back();
            lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after + 1), newLine);
        } else {
            if (!lines_.empty() && !trim(lines_.back()).empty())
                lines_.emplace_back();
            lines_.push_back("[" + std::string(cleanSection) + "]");
            lines_.push_back(newLine);
        }
    }
    index();
    if (Outcome written = writeFileAtomically(path_, serialise()); !written)
        return written;
    wasRead_ = true;
    return Outcome::done();
}

Outcome IniFile::setInt(std::string_view section, std::string_view key, int value) {
    return setString(section, key, std::to_string(value));
}

} // namespace varnix
