// SPDX-License-Identifier: GPL-3.0-or-later
// The pad's lighting model and its file Padconfig.json (factory file, exchange file, BrightMax).
#pragma once

#include "common/Outcome.h"
#include "lighting/LedEffect.h"

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace varnix {

namespace padfile {
// Relative to the pad model folder (res/PadKorv/<DevFolder>).
inline constexpr const char* ConfigFile = "Config/Padconfig.json";
inline constexpr const char* ResetFile = "Config/ResetPadconfig.json";
inline constexpr const char* ExchangeExtension = ".Light.Config";
inline constexpr const char* Root = "Padconfig";
inline constexpr const char* PadName = "PadName"; // exchange files only
inline constexpr const char* Response = "response";
inline constexpr const char* ResponseEnable = "enable";
inline constexpr const char* ResponseMode = "mode";
inline constexpr std::size_t MaxResponsePairs = 8; // written back
inline constexpr int Indent = 4;
} // namespace padfile

struct PadResponsePair {
    std::int32_t enable = 0;
    std::int32_t mode = 0;
    bool operator==(const PadResponsePair&) const = default;
};

class PadLighting {
public:
    std::int32_t colourType = LedSingleColour;
    std::int32_t selectedSlot = 0;
    std::int32_t mode = 0;
    std::int32_t brightness = 0;
    std::int32_t speed = 0;
    bool symmetric = false;
    std::int32_t direction = 0;
    std::array<ColourSlot, LedSlotCount> slots{};
    // Kept as read (every pair) and written back (the first eight).
    std::vector<PadResponsePair> response;

    bool operator==(const PadLighting&) const = default;

    // The state used when Padconfig.json does not exist: seven red slots, eight (1, 1) pairs,
    // mode 0, brightness 3, speed 2, direction 1.
    static PadLighting defaults();

    LedEffect effect() const;
    void setEffect(const LedEffect& effect);

    // The "Padconfig" document; reading throws the JSON library's exceptions.
    static PadLighting fromJson(const nlohmann::json& document);
    static nlohmann::json toJson(const PadLighting& lighting);

    static std::filesystem::path configPath(const std::filesystem::path& modelFolder);
    static std::filesystem::path resetPath(const std::filesystem::path& modelFolder);

    // Reads Padconfig.json, or writes the defaults when it is missing (Created); then lowers the
    // brightness to the model's BrightMax (Setup.ini, 7 when absent), which `brightMax`
    // receives. A file that does not read (Invalid) leaves the whole model as it was. With
    // createMissing false a missing file gives the defaults without writing them (status Created
    // is kept).
    static Outcome load(const std::filesystem::path& modelFolder, PadLighting& lighting,
                        std::uint8_t* brightMax = nullptr, bool createMissing = true);
    static Outcome save(const std::filesystem::path& modelFolder, const PadLighting& lighting);
    // Copies the factory file over Padconfig.json (unless the factory file cannot be read).
    static Outcome reset(const std::filesystem::path& modelFolder);
    static Outcome exportTo(const std::filesystem::path& modelFolder,
                            const std::filesystem::path& target, const std::string& padName);
    // Takes an exchange file whose "PadName" equals padName ignoring case and whose content
    // reads as a pad configuration; anything else is refused and changes nothing. A refused file
    // (NoName, OtherModel, Invalid) carries the "Error"/"ImportErr" message the page shows; a
    // file that cannot be opened (Missing) and a failed copy (WriteFailed) carry none.
    static Outcome importFrom(const std::filesystem::path& modelFolder,
                              const std::filesystem::path& source, const std::string& padName);
};

} // namespace varnix
