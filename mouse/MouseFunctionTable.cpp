// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/MouseFunctionTable.h"

#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "common/JsonRead.h"
#include "macro/KeyNames.h"

#include <climits>
#include <nlohmann/json.hpp>
#include <optional>

namespace varnix {

namespace {

// The leading decimal digits of a member name as a code: 0 when there are none, nothing when
// they do not fit.
std::optional<int> codeFromName(const std::string& name) {
    long long value = 0;
    for (char c : name) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return std::nullopt;
    }
    return static_cast<int>(value);
}

const std::string* textAt(const nlohmann::ordered_json& texts, std::size_t index) {
    if (!texts.is_array() || index >= texts.size() || !texts[index].is_string())
        return nullptr;
    return texts[index].get_ptr<const std::string*>();
}

} // namespace

MouseFunctionTable::LoadResult MouseFunctionTable::load(const std::filesystem::path& file,
                                                        std::string* problems) {
    std::string report;
    auto note = [&](const std::string& text) { report += file.string() + ": " + text + "\n"; };
    auto finish = [&](LoadResult result) {
        if (!report.empty())
            debugOutput(report);
        if (problems)
            *problems = report;
        return result;
    };

    const std::optional<std::string> bytes = readWholeFile(file);
    if (!bytes) {
        note("cannot be read");
        return finish(LoadResult::FileMissing);
    }
    nlohmann::ordered_json document;
    try {
        document = parseJson<nlohmann::ordered_json>(*bytes);
    } catch (const nlohmann::json::exception& error) {
        note(error.what());
        return finish(LoadResult::ParseError);
    }

    rows_.clear();
    if (!document.is_object()) {
        note("the file is not a JSON object");
        return finish(LoadResult::WrongType);
    }
    const auto member = document.find(kMemberName);
    if (member == document.end()) {
        note(std::string("no \"") + kMemberName + "\" member");
        return finish(LoadResult::Loaded);
    }
    if (!member->is_object()) {
        note(std::string("\"") + kMemberName + "\" is not an object");
        return finish(LoadResult::WrongType);
    }
    for (const auto& [name, texts] : member->items()) {
        const std::optional<int> code = codeFromName(name);
        if (!code) {
            note("\"" + name + "\" is too large for a code");
            continue;
        }
        const std::string* first = textAt(texts, kFirstTextIndex);
        const std::string* second = textAt(texts, kSecondTextIndex);
        if (!first || !second) {
            note("\"" + name + "\" has no texts at positions 1 and 3");
            continue;
        }
        rows_.emplace(*code, Row{*first, *second});
    }
    return finish(LoadResult::Loaded);
}

std::string MouseFunctionTable::secondText(int code) const {
    auto it = rows_.find(code);
    return it == rows_.end() ? std::string(kUnknownKeyName) : it->second.secondText;
}

std::string MouseFunctionTable::firstText(int code) const {
    auto it = rows_.find(code);
    return it == rows_.end() ? std::string(kUnknownKeyName) : it->second.firstText;
}

} // namespace varnix
