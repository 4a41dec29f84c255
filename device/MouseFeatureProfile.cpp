// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/MouseFeatureProfile.h"

#include "common/Diagnostics.h"

#include <algorithm>

namespace varnix {
namespace {

std::string keyName(const char* format, int number) {
    return formatText(format, number);
}

} // namespace

const std::array<MouseFeatureProfile::ConfigKey, 18>& MouseFeatureProfile::configKeys() {
    using P = MouseFeatureProfile;
    static const std::array<ConfigKey, 18> keys{{
        {"BIG_MODE_EN", &P::BIG_MODE_EN},
        {"BIG_MODE_SW_LOC", &P::BIG_MODE_SW_LOC},
        {"POR_MODEA_EN", &P::POR_MODEA_EN},
        {"MODE_INDICATOR_EN", &P::MODE_INDICATOR_EN},
        {"DPI_LHOLD_CFG_CHG_EN", &P::DPI_LHOLD_CFG_CHG_EN},
        {"DPI_LHOLD_LED_MODE_CHG_EN", &P::DPI_LHOLD_LED_MODE_CHG_EN},
        {"DPI_LHOLD_LED_ONOFF_EN", &P::DPI_LHOLD_LED_ONOFF_EN},
        {"LED_MODE_SW_EN", &P::LED_MODE_SW_EN},
        {"DPI_K4K5DPI_LED_STYLE_CHG_EN", &P::DPI_K4K5DPI_LED_STYLE_CHG_EN},
        {"DPI_K4K5DPI_LED_TYPE", &P::DPI_K4K5DPI_LED_TYPE},
        {"LED_NUM", &P::LED_NUM},
        {"LOG_LED_EN", &P::LOG_LED_EN},
        {"LOG_LED_DPI_EN", &P::LOG_LED_DPI_EN},
        {"LOG_LED_MODE", &P::LOG_LED_MODE},
        {"LOG_FOR_CFG_EN", &P::LOG_FOR_CFG_EN},
        {"LOG_LED_SPEED_BRIGHT", &P::LOG_LED_SPEED_BRIGHT},
        {"STARTUP_LED_EN", &P::STARTUP_LED_EN},
        {"CFG_LED_TYPE", &P::CFG_LED_TYPE},
    }};
    return keys;
}

LedTable MouseFeatureProfile::parseLedTable(std::string_view text) {
    using namespace mousefeature;
    LedTable table{};
    for (std::size_t k = 0; k < LedTableSize; ++k) {
        const std::size_t start = k * LedDigitsPerValue;
        if (start >= text.size())
            break;
        const int value = IniFile::toInt(text.substr(start, LedDigitsPerValue));
        table[k] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    }
    return table;
}

MouseFeatureProfile MouseFeatureProfile::fromIni(const IniFile& ini) {
    using namespace mousefeature;
    MouseFeatureProfile profile;
    for (int i = 1; i <= KeyCount; ++i)
        profile.keyMap[i - 1] = ini.getInt(KeymapSection, keyName(KeyMapKeyFormat, i));
    for (int i = 1; i <= KeyCount; ++i)
        profile.keyDefault[i - 1] = ini.getInt(KeymapSection, keyName(KeyDefaultKeyFormat, i));
    profile.keyNum = ini.getInt(KeymapSection, KeyNumKey);
    for (const ConfigKey& key : configKeys())
        profile.*key.member = ini.getInt(ConfigSection, key.name);

    for (int p = 0; p < ProfileCount; ++p)
        profile.profileLedTables[p] =
            parseLedTable(ini.getString(ProfileLedSection, std::to_string(p)));

    // The profile tables are read first so that an empty start-up table copies this model's
    // profile 3 table rather than whatever a previously shown model left behind.
    if (profile.STARTUP_LED_EN != 0 || profile.CFG_LED_TYPE == 0) {
        const std::string startup = ini.getString(BootLedSection, LedDataKey);
        profile.startupLedTable =
            startup.empty() ? profile.profileLedTables[ProfileCount - 1] : parseLedTable(startup);
        profile.startupLedTableRead = true;
    }
    return profile;
}

MouseFeatureProfile MouseFeatureProfile::read(const std::filesystem::path& modelFolder) {
    return fromIni(IniFile(modelFolder / mousefeature::File));
}

bool MouseFeatureProfile::longHoldSwitch() const {
    return DPI_LHOLD_CFG_CHG_EN != 0 || DPI_LHOLD_LED_MODE_CHG_EN != 0 ||
           DPI_LHOLD_LED_ONOFF_EN != 0;
}

void MouseFeatureProfile::rebuildKeyMap(std::map<int, int>& codeToButton) const {
    codeToButton.clear();
    for (int i = 0; i < mousefeature::KeyCount; ++i)
        codeToButton.emplace(keyMap[i], i);
}

bool readMouseLongHoldAndKeyMap(const std::filesystem::path& modelFolder,
                                std::map<int, int>& codeToButton) {
    using namespace mousefeature;
    const IniFile ini(modelFolder / File);
    MouseFeatureProfile profile;
    profile.DPI_LHOLD_CFG_CHG_EN = ini.getInt(ConfigSection, "DPI_LHOLD_CFG_CHG_EN");
    profile.DPI_LHOLD_LED_MODE_CHG_EN = ini.getInt(ConfigSection, "DPI_LHOLD_LED_MODE_CHG_EN");
    profile.DPI_LHOLD_LED_ONOFF_EN = ini.getInt(ConfigSection, "DPI_LHOLD_LED_ONOFF_EN");
    for (int i = 1; i <= KeyCount; ++i)
        profile.keyMap[i - 1] = ini.getInt(KeymapSection, keyName(KeyMapKeyFormat, i));
    profile.rebuildKeyMap(codeToButton);
    return profile.longHoldSwitch();
}

} // namespace varnix
