// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/PadFeatureProfile.h"

#include <algorithm>

namespace varnix {

PadFeatureProfile PadFeatureProfile::fromIni(const IniFile& ini) {
    using namespace padfeature;
    PadFeatureProfile profile;
    profile.BrightMax = ini.getString(SetSection, BrightMaxKey, {}, BrightMaxBuffer);
    if (!profile.BrightMax.empty())
        profile.brightMax =
            static_cast<std::uint8_t>(std::clamp(IniFile::toInt(profile.BrightMax), 0, 255));
    return profile;
}

PadFeatureProfile PadFeatureProfile::read(const std::filesystem::path& modelFolder) {
    return fromIni(IniFile(modelFolder / padfeature::File));
}

} // namespace varnix
