// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PositionSheet.h"

#include "app/CButtonAttributes.h"
#include "app/CLabelAttributes.h"
#include "app/COptionAttributes.h"
#include "app/SliderAttributes.h"
#include "app/VerExAuttributes.h"
#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "common/JsonRead.h"

#include <nlohmann/json.hpp>

namespace varnix {

AttributeAssignment PositionSheet::containerAssignment() const {
    return AttributeAssignment{containerName, {}, std::string(positionfile::BkImageKey), bkImage};
}

std::unique_ptr<CControlAttributes> makeControlAttributes(std::string_view type) {
    if (type == "option")
        return std::make_unique<COptionAttributes>();
    if (type == "button")
        return std::make_unique<CButtonAttributes>();
    if (type == "optver")
        return std::make_unique<VerExAuttributes>();
    if (type == "slider")
        return std::make_unique<SliderAttributes>();
    if (type == "label")
        return std::make_unique<CLabelAttributes>();
    return std::make_unique<COptionAttributes>();
}

Outcome LoadPositionSheet(const std::filesystem::path& path, PositionSheet& sheet) {
    const auto bytes = readWholeFile(path);
    if (!bytes)
        return Outcome::failure(Status::Missing, "cannot open " + path.string());
    return ParsePositionSheet(*bytes, sheet);
}

Outcome ParsePositionSheet(std::string_view json, PositionSheet& sheet) {
    using namespace positionfile;
    try {
        const nlohmann::json document = parseJson(json);
        const nlohmann::json& container = document.at(ContainerKey);
        sheet.containerName = container.at(ContainerNameKey).get<std::string>();
        sheet.width = jsonNumber<int>(container.at(WidthKey));
        sheet.height = jsonNumber<int>(container.at(HeightKey));
        sheet.bkImage = container.at(BkImageKey).get<std::string>();
        sheet.normalImage = container.at(NormalImageKey).get<std::string>();
        sheet.overImage = container.at(OverImageKey).get<std::string>();
        sheet.downImage = container.at(DownImageKey).get<std::string>();

        const nlohmann::json* controls = nullptr;
        if (document.contains(ControlsKey))
            controls = &document.at(ControlsKey);
        else if (container.contains(ControlsKey))
            controls = &container.at(ControlsKey);
        if (!controls || controls->is_null())
            return Outcome::done();
        if (!controls->is_array())
            throw nlohmann::json::type_error::create(
                302, "type must be array, but is " + std::string(controls->type_name()), controls);
        for (const nlohmann::json& element : *controls) {
            std::string type;
            if (element.is_object()) {
                const auto found = element.find(TypeKey);
                if (found != element.end() && found->is_string())
                    type = found->get<std::string>();
            }
            std::unique_ptr<CControlAttributes> record = makeControlAttributes(type);
            record->parse(element);
            sheet.controls.push_back(std::move(record));
        }
    } catch (const nlohmann::json::exception& error) {
        debugOutput(std::string(error.what()) + "\n");
        return Outcome::failure(Status::Invalid, error.what());
    }
    return Outcome::done();
}

std::vector<std::string> PositionedControlNames(const PositionSheet& sheet) {
    std::vector<std::string> names;
    names.reserve(sheet.controls.size());
    for (const auto& record : sheet.controls)
        names.push_back(record->name());
    return names;
}

} // namespace varnix
