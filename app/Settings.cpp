// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Settings.h"

#include "app/LanguageTable.h"
#include "common/Diagnostics.h"
#include "common/IniFile.h"

namespace varnix {

Settings::Settings(std::filesystem::path file) : file_(std::move(file)) {}

void Settings::LoadSettings() {
    using namespace settingsfile;
    const IniFile ini(file_);
    languageIndex_ = ini.getInt(SetSection, LanguageKey, 0);
    dpiPopupEnabled_ = ini.getInt(SetSection, DpiPopEnKey, 0) != 0;
    updateCheckEnabled_ = ini.getInt(SetSection, UpdateCheckKey, 1) != 0;
    publicLed_.clear();
    for (const IniFile::Entry& entry : ini.entries(PublicLedSection))
        if (entry.hasEquals)
            publicLed_.emplace(entry.key, IniFile::toInt(entry.value));
}

std::string_view Settings::languageFileName() const {
    return LanguageTable::fileName(languageIndex_);
}

std::optional<int> Settings::SelectLanguage(std::string_view menuItem) {
    const std::optional<int> index = LanguageTable::indexForMenuItem(menuItem);
    if (!index || *index == languageIndex_)
        return std::nullopt;
    languageIndex_ = *index;
    write(settingsfile::SetSection, settingsfile::LanguageKey, languageIndex_);
    return index;
}

bool Settings::ToggleDpiPopup() {
    dpiPopupEnabled_ = !dpiPopupEnabled_;
    write(settingsfile::SetSection, settingsfile::DpiPopEnKey, dpiPopupEnabled_ ? 1 : 0);
    return dpiPopupEnabled_;
}

bool Settings::ToggleUpdateCheck() {
    updateCheckEnabled_ = !updateCheckEnabled_;
    write(settingsfile::SetSection, settingsfile::UpdateCheckKey, updateCheckEnabled_ ? 1 : 0);
    return updateCheckEnabled_;
}

Outcome Settings::SetPublicLedValue(std::string_view name, int value) {
    publicLed_[std::string(name)] = value;
    return write(settingsfile::PublicLedSection, name, value);
}

Outcome Settings::write(std::string_view section, std::string_view key, int value) {
    IniFile ini(file_);
    lastWrite_ = ini.setString(section, key, formatText("%d", value));
    if (!lastWrite_)
        debugOutput("cannot save " + file_.string() + ": " + lastWrite_.detail + "\n");
    return lastWrite_;
}

} // namespace varnix
