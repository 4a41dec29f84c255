// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/VersionInfo.h"

#include "common/AtomicFile.h"

#include <nlohmann/json.hpp>

namespace varnix {

using nlohmann::json;

Expected<VersionInfo> readVersionInfo(const std::filesystem::path& file) {
    const std::optional<std::string> text = readWholeFile(file);
    if (!text)
        return Outcome::failure(Status::Missing, "cannot open " + file.string());
    const json document = json::parse(*text, nullptr, false);
    if (document.is_discarded() || !document.is_object())
        return Outcome::failure(Status::Invalid, file.string() + " is not a JSON object");
    VersionInfo info;
    auto read = [&](const char* key, std::string& into) {
        const auto found = document.find(key);
        if (found == document.end() || found->is_null())
            return true;
        if (!found->is_string())
            return false;
        into = found->get<std::string>();
        return true;
    };
    if (!read(versioninfo::ProductNameKey, info.productName) ||
        !read(versioninfo::VersionKey, info.version) ||
        !read(versioninfo::UpdateUrlKey, info.updateUrl))
        return Outcome::failure(Status::Invalid, file.string() + ": a value is not a string");
    return info;
}

std::string versionQueryUrl(const VersionInfo& info) {
    return info.updateUrl + info.productName + "/" + info.version;
}

std::optional<long long> newerReleaseCount(std::string_view body, std::string* why) {
    auto fail = [&](const char* reason) -> std::optional<long long> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    const json answer = json::parse(body.begin(), body.end(), nullptr, false);
    if (answer.is_discarded())
        return fail("the answer is not JSON");
    if (!answer.is_object())
        return fail("the answer is not a JSON object");
    const auto data = answer.find("data");
    if (data == answer.end() || !data->is_object())
        return fail("the answer has no object \"data\"");
    const auto total = data->find("total");
    if (total == data->end() || !total->is_number_integer())
        return fail("the answer has no integer \"data.total\"");
    return total->get<long long>();
}

} // namespace varnix
