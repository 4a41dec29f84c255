// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ExtraFontList.h"

#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "common/JsonRead.h"

#include <nlohmann/json.hpp>

namespace varnix {

std::map<std::string, std::string> ExtraFontList::read(const std::filesystem::path& file) {
    const auto bytes = readWholeFile(file);
    if (!bytes)
        return {};
    return parse(*bytes);
}

std::map<std::string, std::string> ExtraFontList::parse(std::string_view json) {
    using namespace exfontfile;
    std::map<std::string, std::string> fonts;
    nlohmann::json document;
    try {
        document = parseJson(json);
    } catch (const nlohmann::json::exception& error) {
        debugOutput(std::string(error.what()) + "\n");
        return fonts;
    }
    if (!document.is_object())
        return fonts;
    const auto list = document.find(FontArrayKey);
    if (list == document.end() || !list->is_array())
        return fonts;
    for (const nlohmann::json& element : *list) {
        try {
            fonts.emplace(element.at(FontNameKey).get<std::string>(),
                          element.at(FontPathKey).get<std::string>());
        } catch (const nlohmann::json::exception& error) {
            debugOutput(std::string(error.what()) + "\n");
        }
    }
    return fonts;
}

} // namespace varnix
