// SPDX-License-Identifier: GPL-3.0-or-later
// The shared lighting record of the home page, its file, its mode table and repeat interval.
#pragma once

#include "common/Outcome.h"
#include "lighting/LedEffect.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace varnix {

namespace sharedfile {
// Relative to the resource root.
inline constexpr const char* ConfigFile = "Home/LightShow/PublicLedconfig.json";
inline constexpr const char* ResetFile = "Home/LightShow/ResetPublicLedconfig.json";
inline constexpr const char* Root = "PublicLedconfig";
inline constexpr const char* LedCount = "led_num";
inline constexpr int Indent = 4;
} // namespace sharedfile

// Mode positions of the option group "PublicLedMode".
inline constexpr int SharedModeCount = 8;
inline constexpr int SharedModeNeon = 5; // counts as six colours for the repeat interval

class SharedLighting {
public:
    std::int32_t selectedSlot = 0; // -1 when no selector option is selected
    std::int32_t mode = 0;         // position 0..7
    std::int32_t brightness = 0;
    std::int32_t speed = 0;
    bool symmetric = false;
    std::int32_t direction = 0;
    std::int32_t ledCount = 12;
    std::array<ColourSlot, LedSlotCount> slots{};

    bool operator==(const SharedLighting&) const = default;

    // The device mode code (lighting mode codes 0..11) of a position: Breathing, Constant,
    // Flow, Single, CometTail, Neon, Ambilight, Mute; nothing for other positions.
    static std::optional<int> deviceModeCode(int position);

    // Enabled slots; Neon counts as six.
    int colourCount() const;
    // How often the effect is written again to keep the devices in step, in milliseconds;
    // nothing when it is written once (one colour, not Neon) or when the formula gives no
    // positive interval.
    std::optional<std::int64_t> repeatIntervalMs() const;

    // The record's fields as a lighting effect (mode as the position, default colour type).
    LedEffect asLedEffect() const;
    // The effect a device receives: the mapped mode code; selectedSlot and single colour only
    // in Constant (every other mode cycles, so the colour index is 0).
    std::optional<LedEffect> deviceEffect() const;
    // selectedSlot + 1 in Constant, 0 otherwise.
    std::int32_t colourIndex() const;

    // Reads and writes the "PublicLedconfig" document; reading throws the library's exceptions.
    // A file without "led_num" counts with 12 LEDs.
    static SharedLighting fromJson(const nlohmann::json& document);
    static nlohmann::json toJson(const SharedLighting& lighting);

    // Reads a file into `lighting`; on any failure (Missing, Invalid) `lighting` is unchanged
    // and the detail says why.
    static Outcome load(const std::filesystem::path& file, SharedLighting& lighting);
    // Writes the file atomically (WriteFailed when it cannot be written).
    static Outcome save(const std::filesystem::path& file, const SharedLighting& lighting);
};

} // namespace varnix
