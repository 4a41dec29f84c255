// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON form of groups and macros shared by the macro file, group files and macro list files.
// Readers throw (nlohmann::json exceptions or std::runtime_error) on wrong types, missing keys and
// arrays shorter than 275; callers catch and keep what they had.
#pragma once

#include "macro/MacroGroup.h"
#include "macro/MacroRecord.h"

#include <nlohmann/json.hpp>
#include <string>

namespace varnix::macrofile {

// Keys of the macro file and of group files.
inline constexpr const char* KeyGroups = "MacroGrpInfo";
inline constexpr const char* KeyGroupName = "GrpName";
inline constexpr const char* KeyGroupGuid = "GrpGuid";
inline constexpr const char* KeyMacros = "MacroInfo";
inline constexpr const char* KeyMacroName = "MacroName";
inline constexpr const char* KeyMacroGuid = "MacroGuid";
inline constexpr const char* KeyBindKeys = "BindKeys";
inline constexpr const char* KeyBindKeysInfo = "BindKeysInfo";
inline constexpr const char* KeyBindDeviceName = "BindDeviceName";
inline constexpr const char* KeyBindKeysData = "BindKeysData";
inline constexpr const char* KeyKeyName = "KeyName";
inline constexpr const char* KeyConfig = "Config";
inline constexpr const char* KeyMacroData = "macData";
// Keys of the "macData" object.
inline constexpr const char* KeyRptType = "rptType";
inline constexpr const char* KeyMacRpt = "macRpt";
inline constexpr const char* KeyNum = "num";
inline constexpr const char* KeyNumXY = "numXY";
inline constexpr const char* KeyNumWhl = "numWhl";
inline constexpr const char* KeyNumCpi = "numCpi";
inline constexpr const char* KeyNumMedia = "numMedia";
inline constexpr const char* KeyNumLed = "numLed";
inline constexpr const char* KeyYStepEn = "YStepEn";
inline constexpr const char* KeyYStep = "YStep";
inline constexpr const char* KeyMacSta = "macSta";
inline constexpr const char* KeyMacVal = "macVal";
inline constexpr const char* KeyExtVal = "extVal";
inline constexpr const char* KeyMacDly = "macDly";

inline constexpr int JsonIndent = 4;

// A name as an array of UTF-16 code units, no terminator.
nlohmann::json nameToJson(const std::string& name);
// Each element may be any number (truncated to 16 bits); anything else throws a type error.
std::string nameFromJson(const nlohmann::json& units);

// "macData": the ten scalars and the four 275-element arrays. Header, blockItemCount, reserved
// bytes and the LED and data blocks are not in the file and read back as zero. A "num" above 275
// is taken as 275 so that no later operation reaches past the slots.
nlohmann::json macDataToJson(const MacroData& data);
MacroData macDataFromJson(const nlohmann::json& object);

// Macro object. withBindings: also read "BindKeys" (0 when absent) and "BindKeysInfo".
MacroRecord macroFromJson(const nlohmann::json& object, bool withBindings);
// Macro object with "BindKeys" and "BindKeysInfo" from the record.
nlohmann::json macroToJson(const MacroRecord& macro);

MacroGroup groupFromJson(const nlohmann::json& object);
nlohmann::json groupToJson(const MacroGroup& group);

// The value as an array; throws std::runtime_error naming the key otherwise.
const nlohmann::json::array_t& arrayOf(const nlohmann::json& value, const char* key);

// Pretty-printed with an indent of 4 and sorted keys; text that is not UTF-8 is replaced rather
// than making the write fail.
std::string serialise(const nlohmann::json& document);

} // namespace varnix::macrofile
