// SPDX-License-Identifier: GPL-3.0-or-later
// The user's settings kept in res/Set.ini: language, DPI popup, shared-lighting entries.
#pragma once

#include "common/Outcome.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace varnix {

namespace settingsfile {
inline constexpr std::string_view File = "res/Set.ini";
inline constexpr std::string_view SetSection = "Set";
inline constexpr std::string_view LanguageKey = "Language";
inline constexpr std::string_view DpiPopEnKey = "DpiPopEn";
inline constexpr std::string_view PublicLedSection = "PublicLed";
// Settings-menu item that switches the DPI popup.
inline constexpr std::string_view DpiPopupMenuItem = "dpipopck";
// The version check at start: 1 on (also when missing), 0 off; and its settings-menu item.
inline constexpr std::string_view UpdateCheckKey = "UpdateCheck";
inline constexpr std::string_view UpdateCheckMenuItem = "updatecheck";
} // namespace settingsfile

class Settings {
public:
    // `file` is the real path of Set.ini.
    explicit Settings(std::filesystem::path file);

    // Reads Language and DpiPopEn of "Set" and the whole "PublicLed" section. A missing file
    // gives language 0, DPI popup off and no entries.
    void LoadSettings();

    // The stored language index as read or chosen (it may lie outside the table).
    int languageIndex() const { return languageIndex_; }
    // The language file to show for the current index (English for any index outside the table).
    std::string_view languageFileName() const;
    bool dpiPopupEnabled() const { return dpiPopupEnabled_; }
    bool updateCheckEnabled() const { return updateCheckEnabled_; }
    const std::map<std::string, int>& publicLed() const { return publicLed_; }

    // Settings-menu choice of a language by item name. Returns the new index when it differs
    // from the current one (the caller then applies the language); the index is written as
    // "Language". An unknown name or the active language changes and writes nothing.
    std::optional<int> SelectLanguage(std::string_view menuItem);
    // Flips the DPI popup flag and writes it as "DpiPopEn"; returns the new flag.
    bool ToggleDpiPopup();
    // Flips the version check at start and writes it as "UpdateCheck"; returns the new flag.
    bool ToggleUpdateCheck();
    // Stores one "PublicLed" entry in the map and the file; the outcome is the file write's.
    Outcome SetPublicLedValue(std::string_view name, int value);

    // How the last write ended: the choices above keep their new value when it fails, so the
    // caller reads the failure here.
    const Outcome& lastWrite() const { return lastWrite_; }

private:
    Outcome write(std::string_view section, std::string_view key, int value);

    std::filesystem::path file_;
    int languageIndex_ = 0;
    bool dpiPopupEnabled_ = false;
    bool updateCheckEnabled_ = true;
    std::map<std::string, int> publicLed_;
    Outcome lastWrite_;
};

} // namespace varnix
