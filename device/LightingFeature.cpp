// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/LightingFeature.h"

#include "common/IniFile.h"
#include "device/DeviceRecord.h"
#include "device/KeyboardFeatureProfile.h"
#include "device/MouseFeatureProfile.h"

namespace varnix {

LightingFeature LightingFeature::read(std::int32_t devType,
                                      const std::filesystem::path& modelFolder) {
    LightingFeature feature;
    if (devType == DevTypeMouse) {
        const IniFile ini(modelFolder / mousefeature::File);
        feature.ledCountKey = "LED_NUM";
        feature.ledCountText = ini.getString(mousefeature::ConfigSection, feature.ledCountKey);
    } else {
        using namespace keyboardfeature;
        const IniFile ini(modelFolder / File);
        feature.ledCountKey = LedCountKey;
        feature.ledCountText = ini.getString(Config1Section, LedCountKey);
        feature.channelOrder = ini.getString(InitSection, RgbLedKey, {}, RgbLedBuffer);
        if (feature.channelOrder.empty())
            feature.channelOrder = DefaultChannelOrder;
    }
    if (!feature.ledCountText.empty())
        feature.ledCount = IniFile::toInt(feature.ledCountText);
    return feature;
}

} // namespace varnix
