// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard page's model: four profiles of key bindings and extra settings, the lighting and
// the model's description files; loaded from, saved to and exchanged as the keyboard JSON files.
#pragma once

#include "common/Outcome.h"
#include "device/KeyboardFeatureProfile.h"
#include "keyboard/ExtKey.h"
#include "keyboard/KeyBinding.h"
#include "lighting/LedEffect.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace varnix {

inline constexpr int KeyboardProfileCount = 4;
inline constexpr int MacroSlotCodeCount = 20;
inline constexpr int MatrixRows = 8;
inline constexpr int MatrixColumns = 20;
inline constexpr int FnKeyCount = 12;
// Macro slot codes: slots 0..10 are 165..175, slots 11..19 are 184..192.
inline constexpr int FirstMacroSlotCode = 165;
inline constexpr int SecondMacroSlotCode = 184;
inline constexpr int SecondMacroSlotIndex = 11;

using BindingMap = std::map<std::string, KeyBinding>;

// Texts the model takes from the key function catalogue and the language file.
struct KeyboardTexts {
    std::function<std::string(int code)> keyFunction;    // Fn settings
    std::function<std::string(int code)> scrollFunction; // knob directions
    std::string lockSwitch;                              // language text "btn_En"
};

class KeyboardConfig {
public:
    std::array<BindingMap, KeyboardProfileCount> otherKeys;
    std::array<BindingMap, KeyboardProfileCount> keys;
    std::map<std::string, ExtKey> extKeys;
    BindingMap keyTemplate;
    std::map<int, std::int32_t> macroSlotCodes;
    std::array<std::vector<std::int32_t>, KeyboardProfileCount> usedMacroCodes;
    std::map<std::string, std::int32_t> matrix;
    std::map<std::string, std::int32_t> otherKeyTemplate;
    std::int32_t version = 0;
    std::int32_t currentProfile = 0;
    LedEffect lighting;

    // The model's Config/Config.ini values, kept on the keyboard device object.
    KeyboardFeatureProfile feature;
    KeyboardTexts texts;
    // Texts of the reading steps that failed during the last load (also written to the console).
    // A load always ends with a model; each step that does not read is dropped whole.
    std::vector<std::string> loadErrors;

    // Builds the whole model from the folder's files (the model's resource folder).
    void LoadKeyboardConfig(const std::filesystem::path& folder);
    // Writes Config/KBconfig.json from the model (atomically); WriteFailed when it cannot.
    Outcome SaveKeyboardConfig(const std::filesystem::path& folder);
    // Factory codes in every profile, "KBmain" and "KBled" from Config/ResetKBConfig.json, save.
    Outcome ResetKeyboardConfig(const std::filesystem::path& folder);
    // Copies the saved Config/KBconfig.json with "KBName" added to target.
    Outcome ExportKeyboardConfig(const std::filesystem::path& folder, const std::string& modelName,
                                 const std::filesystem::path& target);
    // Copies an exchange file of this model over Config/KBconfig.json; the caller reloads then.
    // Every refusal (a file that cannot be read, of another model, or that is not a keyboard
    // configuration, and a failed copy) carries the "Error"/"ImportErr" message; nothing is
    // copied then.
    Outcome ImportKeyboardConfig(const std::filesystem::path& folder, const std::string& modelName,
                                 const std::filesystem::path& source);

    // For every binding of keys[profile] and otherKeys[profile]: whether its control is shown
    // as changed (code differs from the factory code).
    std::map<std::string, bool> MarkChangedKeys(int profile) const;

    // The JSON document the model saves.
    nlohmann::json toJson() const;
    // The slot index of a macro slot code, or nothing for any other code.
    std::optional<int> macroSlotOf(std::int32_t code) const;
    // Takes the first slot code not in use in the profile and notes it as used; nothing when all
    // twenty are in use.
    std::optional<std::int32_t> takeFreeMacroCode(int profile);
    // Rebuilds usedMacroCodes from the slot codes the keys of each profile carry.
    void refreshUsedMacroCodes();

    // Reading steps of a KBconfig document, also used to check an import. Each throws the JSON
    // library's exceptions on wrong types.
    void readKeys(const nlohmann::json& root);
    void readOtherKeys(const nlohmann::json& root);
    void readMainAndLighting(const nlohmann::json& root);

private:
    void fillMacroSlotCodes();
    void readLayout(const std::filesystem::path& folder);
    void readExtKeys(const std::filesystem::path& folder);
    void buildKeyTemplate();
    void assignPositions();
    void buildOtherKeys(const std::filesystem::path& folder);
    void setOtherKeyTexts();
    void reportLoadError(const std::string& step, const std::string& what);
};

} // namespace varnix
