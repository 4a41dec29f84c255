// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/MacroFileFormat.h"

#include "common/Utf16.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace varnix::macrofile {
namespace {

using nlohmann::json;

// Any JSON number as a 64-bit integer: floats truncated toward zero, out-of-range floats and
// NaN as 0 (a plain cast would be undefined). Non-numbers throw the library's type error.
std::int64_t integerOf(const json& value) {
    if (value.is_number_unsigned())
        return static_cast<std::int64_t>(value.get<std::uint64_t>());
    if (value.is_number_integer())
        return value.get<std::int64_t>();
    if (value.is_number_float()) {
        const double number = value.get<double>();
        if (!std::isfinite(number) || std::fabs(number) >= 9.2e18)
            return 0;
        return static_cast<std::int64_t>(number);
    }
    return value.get<std::int64_t>(); // throws type_error 302 with the library's text
}

template <typename T> T fieldOf(const json& object, const char* key) {
    return static_cast<T>(integerOf(object.at(key)));
}

void requireObject(const json& value, const char* what) {
    if (!value.is_object())
        throw std::runtime_error(std::string(what) + " is not a JSON object");
}

std::string textOf(const json& value) {
    return value.get<std::string>();
}

} // namespace

const json::array_t& arrayOf(const json& value, const char* key) {
    if (!value.is_array())
        throw std::runtime_error(std::string("\"") + key + "\" is not an array");
    return value.get_ref<const json::array_t&>();
}

namespace {} // namespace

json nameToJson(const std::string& name) {
    json units = json::array();
    for (const char16_t unit : utf8ToUtf16(name))
        units.push_back(static_cast<unsigned>(unit));
    return units;
}

std::string nameFromJson(const json& units) {
    if (!units.is_array())
        throw std::runtime_error("a name is not an array of UTF-16 code units");
    std::u16string text;
    text.reserve(units.size());
    for (const json& unit : units)
        text += static_cast<char16_t>(static_cast<std::uint16_t>(integerOf(unit)));
    return utf16ToUtf8(text);
}

json macDataToJson(const MacroData& data) {
    json object = json::object();
    object[KeyRptType] = data.rptType;
    object[KeyMacRpt] = data.macRpt;
    object[KeyNum] = data.num;
    object[KeyNumXY] = data.numXY;
    object[KeyNumWhl] = data.numWhl;
    object[KeyNumCpi] = data.numCpi;
    object[KeyNumMedia] = data.numMedia;
    object[KeyNumLed] = data.numLed;
    object[KeyYStepEn] = data.YStepEn;
    object[KeyYStep] = data.YStep;
    json status = json::array(), value = json::array(), ext = json::array(), delay = json::array();
    for (int i = 0; i < MacroSlotCount; ++i) {
        status.push_back(data.macSta[i]);
        value.push_back(data.macVal[i]);
        ext.push_back(json::array({data.extVal[i].x, data.extVal[i].y}));
        delay.push_back(data.macDly[i]);
    }
    object[KeyMacSta] = std::move(status);
    object[KeyMacVal] = std::move(value);
    object[KeyExtVal] = std::move(ext);
    object[KeyMacDly] = std::move(delay);
    return object;
}

MacroData macDataFromJson(const json& object) {
    requireObject(object, KeyMacroData);
    MacroData data;
    data.rptType = fieldOf<std::uint8_t>(object, KeyRptType);
    data.macRpt = fieldOf<std::uint16_t>(object, KeyMacRpt);
    data.num = fieldOf<std::uint16_t>(object, KeyNum);
    if (data.num > MacroSlotCount)
        data.num = MacroSlotCount;
    data.numXY = fieldOf<std::uint16_t>(object, KeyNumXY);
    data.numWhl = fieldOf<std::uint16_t>(object, KeyNumWhl);
    data.numCpi = fieldOf<std::uint16_t>(object, KeyNumCpi);
    data.numMedia = fieldOf<std::uint16_t>(object, KeyNumMedia);
    data.numLed = fieldOf<std::uint8_t>(object, KeyNumLed);
    data.YStepEn = fieldOf<std::uint8_t>(object, KeyYStepEn);
    data.YStep = fieldOf<std::uint8_t>(object, KeyYStep);
    const json& status = object.at(KeyMacSta);
    const json& value = object.at(KeyMacVal);
    const json& ext = object.at(KeyExtVal);
    const json& delay = object.at(KeyMacDly);
    for (std::size_t i = 0; i < MacroSlotCount; ++i) {
        data.macSta[i] = static_cast<std::uint8_t>(integerOf(status.at(i)));
        data.macVal[i] = static_cast<std::uint8_t>(integerOf(value.at(i)));
        data.extVal[i].x = static_cast<std::uint16_t>(integerOf(ext.at(i).at(0)));
        data.extVal[i].y = static_cast<std::uint16_t>(integerOf(ext.at(i).at(1)));
        data.macDly[i] = static_cast<std::uint16_t>(integerOf(delay.at(i)));
    }
    return data;
}

MacroRecord macroFromJson(const json& object, bool withBindings) {
    requireObject(object, "a macro");
    MacroRecord macro;
    macro.guid = textOf(object.at(KeyMacroGuid));
    macro.name = nameFromJson(object.at(KeyMacroName));
    if (withBindings) {
        if (const auto count = object.find(KeyBindKeys); count != object.end())
            macro.bindKeyCount = static_cast<std::int32_t>(integerOf(*count));
        if (const auto info = object.find(KeyBindKeysInfo); info != object.end()) {
            for (const json& device : arrayOf(*info, KeyBindKeysInfo)) {
                auto& keys = macro.bindings[nameFromJson(device.at(KeyBindDeviceName))];
                for (const json& key : arrayOf(device.at(KeyBindKeysData), KeyBindKeysData))
                    keys.emplace_back(textOf(key.at(KeyConfig)), textOf(key.at(KeyKeyName)));
            }
        }
    }
    macro.data = macDataFromJson(object.at(KeyMacroData));
    return macro;
}

json macroToJson(const MacroRecord& macro) {
    json object = json::object();
    object[KeyMacroGuid] = macro.guid;
    object[KeyMacroName] = nameToJson(macro.name);
    object[KeyBindKeys] = macro.bindKeyCount;
    json info = json::array();
    for (const auto& [device, keys] : macro.bindings) {
        json data = json::array();
        for (const auto& [config, keyName] : keys)
            data.push_back({{KeyConfig, config}, {KeyKeyName, keyName}});
        info.push_back({{KeyBindDeviceName, nameToJson(device)}, {KeyBindKeysData, data}});
    }
    object[KeyBindKeysInfo] = std::move(info);
    object[KeyMacroData] = macDataToJson(macro.data);
    return object;
}

MacroGroup groupFromJson(const json& object) {
    requireObject(object, "a group");
    MacroGroup group;
    group.name = nameFromJson(object.at(KeyGroupName));
    group.guid = textOf(object.at(KeyGroupGuid));
    if (const auto macros = object.find(KeyMacros); macros != object.end())
        for (const json& macro : arrayOf(*macros, KeyMacros))
            group.macros.push_back(macroFromJson(macro, true));
    return group;
}

json groupToJson(const MacroGroup& group) {
    json object = json::object();
    object[KeyGroupName] = nameToJson(group.name);
    object[KeyGroupGuid] = group.guid;
    json macros = json::array();
    for (const MacroRecord& macro : group.macros)
        macros.push_back(macroToJson(macro));
    object[KeyMacros] = std::move(macros);
    return object;
}

std::string serialise(const json& document) {
    return document.dump(JsonIndent, ' ', false, json::error_handler_t::replace);
}

} // namespace varnix::macrofile
