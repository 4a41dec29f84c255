// SPDX-License-Identifier: GPL-3.0-or-later
// MouseConfig.json: load, save, factory reset, export to and import from "*.Mouse.Config".
#pragma once

#include "common/Outcome.h"
#include "mouse/MouseConfigModel.h"

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

namespace varnix {

namespace mousefile {
// Relative to the model folder (res/MouseKorv/<DevFolder>).
inline constexpr const char* ConfigFile = "Config/MouseConfig.json";
inline constexpr const char* ResetFile = "Config/ResetMouseConfig.json";
inline constexpr const char* ExchangeExtension = ".Mouse.Config";
inline constexpr int Indent = 4;

inline constexpr const char* Root = "mouseconfig";
inline constexpr const char* MouseName = "MouseName"; // exchange files only
inline constexpr const char* Keys = "mousekey";
inline constexpr const char* KeyMacros = "mousekeyMacro";
inline constexpr const char* GroupGuid = "grpGuid";
inline constexpr const char* MacroGuid = "macGuid";
inline constexpr const char* Advanced = "mouseadv";
inline constexpr const char* CurrentDpi = "cruseldpi";
inline constexpr const char* Fire = "firevalue";
inline constexpr const char* PollingRate = "rateusbvalue";
inline constexpr const char* DpiLevelPrefix =
    "ctrl_MouseAdv_Dpi"; // + 0..5: [enabled, index, colour]
inline constexpr const char* Led = "mouseled";
inline constexpr const char* LedSlotPrefix = "ctrl_MouseLed_Col"; // + 0..6: [enabled, colour]
inline constexpr const char* Brightness = "brightnessvalue";
inline constexpr const char* Mode = "curselmode";
inline constexpr const char* Direction = "directionsel";
inline constexpr const char* Speed = "frequencyvalue";
inline constexpr const char* Symmetry = "issysmetry";
inline constexpr const char* Main = "mousemain";
inline constexpr const char* Version = "ver";
inline constexpr const char* CurrentProfile = "curporfile";
} // namespace mousefile

class MouseConfigFile {
public:
    static std::filesystem::path configPath(const std::filesystem::path& modelFolder);
    static std::filesystem::path resetPath(const std::filesystem::path& modelFolder);

    // Reads a parsed file into `model` (key bindings rebuilt from the template, everything else
    // replaced). Throws the JSON library's exceptions for wrong types.
    static void fromJson(const nlohmann::json& document, MouseConfigModel& model);
    static nlohmann::json toJson(const MouseConfigModel& model);

    // Loads a file. A missing file (Missing) leaves the model as it is. A file that does not
    // parse or holds a wrong type (Invalid) also leaves the whole model as it was (the load works
    // on a copy); the library's message is the detail and goes to the debug channel.
    static Outcome load(const std::filesystem::path& file, MouseConfigModel& model);
    // Writes the model to the file atomically; `saved` runs after a successful write (other
    // views take up the new state there).
    static Outcome save(const std::filesystem::path& file, const MouseConfigModel& model,
                        const std::function<void()>& saved = {});
    // Copies the factory file over the configuration file. A missing or unreadable factory file
    // leaves the configuration as it is.
    static Outcome reset(const std::filesystem::path& modelFolder);
    // Writes the current configuration file plus "MouseName" (UTF-16 code units of mouseName).
    static Outcome exportTo(const std::filesystem::path& modelFolder,
                            const std::filesystem::path& target, const std::string& mouseName);
    // Copies an exchange file over the configuration file when its "MouseName" equals
    // mouseName ignoring case and its content reads as a mouse configuration; otherwise the
    // configuration stays as it is. A refused file (NoName, OtherModel, Invalid) carries the
    // "Error"/"ImportErr" message the page shows; a file that cannot be opened (Missing) and a
    // failed copy (WriteFailed) carry none, the page reloads the unchanged file then.
    static Outcome importFrom(const std::filesystem::path& modelFolder,
                              const std::filesystem::path& source, const std::string& mouseName);

    // Names compared as the import does: UTF-16 code units, letters ignoring case.
    static bool sameName(const std::u16string& a, const std::u16string& b);
};

} // namespace varnix
