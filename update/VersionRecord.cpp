// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/VersionRecord.h"

#include "common/AtomicFile.h"

#include <nlohmann/json.hpp>

namespace varnix {
namespace {

using nlohmann::json;

// The string members of one object of a version file; false when the file or object is wrong.
Outcome readObject(const std::filesystem::path& file, const char* objectName,
                   std::initializer_list<std::pair<const char*, std::string*>> members) {
    const std::optional<std::string> text = readWholeFile(file);
    if (!text)
        return Outcome::failure(Status::Missing, "cannot open " + file.string());
    const json document = json::parse(*text, nullptr, false);
    if (document.is_discarded() || !document.is_object())
        return Outcome::failure(Status::Invalid, file.string() + " is not a JSON object");
    const auto object = document.find(objectName);
    if (object == document.end() || !object->is_object())
        return Outcome::failure(Status::Invalid,
                                file.string() + " has no object \"" + objectName + "\"");
    for (const auto& [key, into] : members) {
        const auto value = object->find(key);
        if (value == object->end() || !value->is_string())
            return Outcome::failure(Status::Invalid,
                                    file.string() + ": \"" + key + "\" is missing or not a string");
    }
    for (const auto& [key, into] : members)
        *into = object->at(key).get<std::string>();
    return Outcome::done();
}

} // namespace

Outcome readLocalVersion(const std::filesystem::path& file, VersionRecord& record) {
    return readObject(
        file, "LocalVersion",
        {{"SeverCenterURL", &record.serverUrl}, {"CurVersion", &record.currentVersion}});
}

Outcome readServerVersion(const std::filesystem::path& file, VersionRecord& record) {
    return readObject(file, "SeverVersion", {{"MaxVersion", &record.latestVersion}});
}

std::string versionLabelText(std::string_view format, const VersionRecord& record) {
    std::string text;
    const std::string* values[] = {&record.currentVersion, &record.latestVersion};
    std::size_t next = 0;
    for (std::size_t at = 0; at < format.size(); ++at) {
        if (format[at] == '%' && at + 1 < format.size() && format[at + 1] == 's' && next < 2) {
            text += *values[next++];
            ++at;
        } else {
            text += format[at];
        }
    }
    return text;
}

} // namespace varnix
