// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse page's function texts, read from the "MouseFunctionText" object of its language file.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace varnix {

class MouseFunctionTable {
public:
    // The file, relative to the resource root, and the member the texts live in.
    static constexpr const char* kFileName = "MouseKorv/Language/LanguageText.json";
    static constexpr const char* kMemberName = "MouseFunctionText";
    // Each member value is an array of texts: [symbol, first text, caption, second text].
    static constexpr std::size_t kFirstTextIndex = 1;
    static constexpr std::size_t kSecondTextIndex = 3;

    struct Row {
        std::string firstText;
        std::string secondText;
        bool operator==(const Row&) const = default;
    };

    enum class LoadResult {
        Loaded,      // the table holds the file's rows (rows that could not be read are left out)
        FileMissing, // the file could not be read; the table keeps its previous rows
        ParseError,  // the file is not JSON; the table keeps its previous rows
        WrongType,   // the file or its "MouseFunctionText" is not an object; the table is empty
    };

    // Reads the table from `file`. Member names are decimal codes (their leading digits, 0
    // when there are none); a code already present keeps its first row in file order. A
    // member whose name overflows a code, or whose value is not an array with texts at
    // positions 1 and 3, is left out. Every problem is reported on the debug channel and,
    // when given, in `problems`.
    LoadResult load(const std::filesystem::path& file, std::string* problems = nullptr);

    // The second text (shown on the key buttons) and the first text of a code; "Unknown Key"
    // when the code has no row.
    std::string secondText(int code) const;
    std::string firstText(int code) const;

    // The rows by ascending code.
    const std::map<int, Row>& rows() const { return rows_; }

private:
    std::map<int, Row> rows_;
};

} // namespace varnix
