// SPDX-License-Identifier: GPL-3.0-or-later
// What a keyboard model can do, read from its Config/Config.ini.
#pragma once

#include "common/IniFile.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace varnix {

namespace keyboardfeature {
inline constexpr std::string_view File = "Config/Config.ini";
inline constexpr std::string_view Config1Section = "Config1";
inline constexpr std::string_view InitSection = "Init";
inline constexpr std::string_view EepCapKey = "EEP_CAP";
inline constexpr std::string_view RgbLedKey = "RGBLED";
inline constexpr std::string_view WinLockSaveKey = "WIN_LOCK_SAVE_EN";
inline constexpr std::string_view FnWKey = "FN_W_ENB";
inline constexpr std::string_view LedCountKey = "HR_LED_NUM";
// Read buffers, in characters including the terminating NUL.
inline constexpr std::size_t EepCapBuffer = 4;
inline constexpr std::size_t RgbLedBuffer = 7;
inline constexpr std::size_t SwitchBuffer = 11;
// Memory size codes 0..5 give 2^(9 + code) - 1; anything else keeps the previous value.
inline constexpr int HighestEepCapCode = 5;
inline constexpr int EepCapBaseShift = 9;
inline constexpr int DefaultCapacity = 2047;
inline constexpr std::string_view DefaultChannelOrder = "RGB";
} // namespace keyboardfeature

class KeyboardFeatureProfile {
public:
    std::string EEP_CAP;                                      // as read (3 characters)
    std::string RGBLED{keyboardfeature::DefaultChannelOrder}; // colour channel order
    int WIN_LOCK_SAVE_EN = 0;
    int FN_W_ENB = 0;
    int capacity = keyboardfeature::DefaultCapacity; // from EEP_CAP

    // The capacity an "EEP_CAP" text gives: codes 0..5 give 511 .. 16383, an empty text or
    // any other code keeps `previousCapacity`; a text that is no number counts as code 0.
    static int capacityFromEepCap(std::string_view eepCapText, int previousCapacity);

    static KeyboardFeatureProfile fromIni(const IniFile& ini,
                                          int previousCapacity = keyboardfeature::DefaultCapacity);
    static KeyboardFeatureProfile read(const std::filesystem::path& modelFolder,
                                       int previousCapacity = keyboardfeature::DefaultCapacity);
};

} // namespace varnix
