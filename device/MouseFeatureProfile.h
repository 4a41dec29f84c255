// SPDX-License-Identifier: GPL-3.0-or-later
// What a mouse model can do, read from its Config/DeviceFeature.ini.
#pragma once

#include "common/IniFile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string_view>

namespace varnix {

namespace mousefeature {
inline constexpr std::string_view File = "Config/DeviceFeature.ini";
inline constexpr std::string_view KeymapSection = "KEYMAP";
inline constexpr const char* KeyMapKeyFormat = "K%d_MAP";     // %d = 1..12
inline constexpr const char* KeyDefaultKeyFormat = "K%d_DEF"; // %d = 1..12
inline constexpr std::string_view KeyNumKey = "KeyNum";
inline constexpr std::string_view ConfigSection = "Config";
inline constexpr std::string_view BootLedSection = "BOOT_LED";
inline constexpr std::string_view LedDataKey = "LED_DATA";
inline constexpr std::string_view ProfileLedSection = "CFG_LED"; // keys "0" .. "3"
inline constexpr int KeyCount = 12;
inline constexpr int ProfileCount = 4;
// An LED table: 68 bytes, written in the file as 68 groups of three decimal digits.
inline constexpr std::size_t LedTableSize = 68;
inline constexpr std::size_t LedDigitsPerValue = 3;
} // namespace mousefeature

using LedTable = std::array<std::uint8_t, mousefeature::LedTableSize>;

class MouseFeatureProfile {
public:
    // "KEYMAP": device key number of buttons 1..12, their factory function codes, button count.
    std::array<int, mousefeature::KeyCount> keyMap{};
    std::array<int, mousefeature::KeyCount> keyDefault{};
    int keyNum = 0;

    // "Config" switches and values, named as their keys.
    int BIG_MODE_EN = 0;
    int BIG_MODE_SW_LOC = 0;
    int POR_MODEA_EN = 0;
    int MODE_INDICATOR_EN = 0;
    int DPI_LHOLD_CFG_CHG_EN = 0;
    int DPI_LHOLD_LED_MODE_CHG_EN = 0;
    int DPI_LHOLD_LED_ONOFF_EN = 0;
    int LED_MODE_SW_EN = 0;
    int DPI_K4K5DPI_LED_STYLE_CHG_EN = 0;
    int DPI_K4K5DPI_LED_TYPE = 0;
    int LED_NUM = 0;
    int LOG_LED_EN = 0;
    int LOG_LED_DPI_EN = 0;
    int LOG_LED_MODE = 0;
    int LOG_FOR_CFG_EN = 0;
    int LOG_LED_SPEED_BRIGHT = 0;
    int STARTUP_LED_EN = 0;
    int CFG_LED_TYPE = 0;

    // "BOOT_LED"/"LED_DATA": read only when STARTUP_LED_EN is on or CFG_LED_TYPE is 0.
    LedTable startupLedTable{};
    bool startupLedTableRead = false;
    // "CFG_LED" rows "0".."3": one table per profile.
    std::array<LedTable, mousefeature::ProfileCount> profileLedTables{};

    // The "Config" keys in reading order with the member each fills.
    struct ConfigKey {
        std::string_view name;
        int MouseFeatureProfile::*member;
    };
    static const std::array<ConfigKey, 18>& configKeys();

    // Reads a profile; absent keys give 0 and empty tables.
    static MouseFeatureProfile fromIni(const IniFile& ini);
    // Reads modelFolder/Config/DeviceFeature.ini (missing file: all defaults).
    static MouseFeatureProfile read(const std::filesystem::path& modelFolder);

    // Long-hold of the DPI key does something (profile, LED mode or LED on/off change).
    bool longHoldSwitch() const;
    // Clears `codeToButton` and maps each K%d_MAP value to its button index (i - 1);
    // a code listed twice keeps its first button.
    void rebuildKeyMap(std::map<int, int>& codeToButton) const;

    // Parses an LED table text: value k from characters 3k..3k+2; missing groups give 0,
    // values above 255 give 255.
    static LedTable parseLedTable(std::string_view text);
};

// What the device event threads read on every DPI or profile key report: the long-hold switch
// (returned) and the key map (rebuilt), from modelFolder/Config/DeviceFeature.ini.
bool readMouseLongHoldAndKeyMap(const std::filesystem::path& modelFolder,
                                std::map<int, int>& codeToButton);

} // namespace varnix
