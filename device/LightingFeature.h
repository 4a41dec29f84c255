// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting facts the shared-lighting writer needs of any device: LED count, channel order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace varnix {

inline constexpr int DefaultSharedLedCount = 12;

struct LightingFeature {
    std::string ledCountKey;  // "LED_NUM" (mouse) or "HR_LED_NUM" (keyboard, pad)
    std::string ledCountText; // as read
    int ledCount = DefaultSharedLedCount;
    std::string channelOrder = "RGB";

    // Mouse: Config/DeviceFeature.ini "Config"/"LED_NUM", channel order "RGB".
    // Keyboard and pad: Config/Config.ini "Config1"/"HR_LED_NUM" and "Init"/"RGBLED".
    // An empty LED count gives 12, an empty channel order "RGB".
    static LightingFeature read(std::int32_t devType, const std::filesystem::path& modelFolder);
};

} // namespace varnix
