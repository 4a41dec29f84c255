// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/KeyboardFeatureProfile.h"

namespace varnix {

int KeyboardFeatureProfile::capacityFromEepCap(std::string_view eepCapText, int previousCapacity) {
    using namespace keyboardfeature;
    if (eepCapText.empty())
        return previousCapacity;
    const int code = IniFile::toInt(eepCapText);
    if (code < 0 || code > HighestEepCapCode)
        return previousCapacity;
    return (1 << (EepCapBaseShift + code)) - 1;
}

KeyboardFeatureProfile KeyboardFeatureProfile::fromIni(const IniFile& ini, int previousCapacity) {
    using namespace keyboardfeature;
    KeyboardFeatureProfile profile;
    profile.EEP_CAP = ini.getString(Config1Section, EepCapKey, {}, EepCapBuffer);
    profile.capacity = capacityFromEepCap(profile.EEP_CAP, previousCapacity);
    profile.RGBLED = ini.getString(InitSection, RgbLedKey, {}, RgbLedBuffer);
    if (profile.RGBLED.empty())
        profile.RGBLED = DefaultChannelOrder;
    profile.WIN_LOCK_SAVE_EN = ini.getInt(Config1Section, WinLockSaveKey, 0, SwitchBuffer);
    profile.FN_W_ENB = ini.getInt(Config1Section, FnWKey, 0, SwitchBuffer);
    return profile;
}

KeyboardFeatureProfile KeyboardFeatureProfile::read(const std::filesystem::path& modelFolder,
                                                    int previousCapacity) {
    return fromIni(IniFile(modelFolder / keyboardfeature::File), previousCapacity);
}

} // namespace varnix
