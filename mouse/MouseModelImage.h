// SPDX-License-Identifier: GPL-3.0-or-later
// Builds a mouse's image from its files: feature profile, configuration, macros, shortcuts.
#pragma once

#include "common/Outcome.h"
#include "device/ParameterImage.h"
#include "mouse/MouseConfigModel.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace varnix {

// The mouse's shortcut macros (function codes 40..49), relative to the resource root.
inline constexpr const char* MouseShortcutFile = "MouseKorv/ShortCutMac.json";

class MouseModelImage {
public:
    // The saved configuration of a model folder: MouseConfig.json, or the factory file when
    // there is none yet, with the feature profile applied; the reason when neither reads.
    static Expected<MouseConfigModel> loadModel(const std::filesystem::path& modelFolder);

    // The image of a model as an apply writes it, with the macro store and the shortcut list
    // of the resource root; the reason when the model cannot be read.
    static Expected<ParameterImage> build(const std::filesystem::path& resourceRoot,
                                          const std::filesystem::path& modelFolder,
                                          std::vector<std::string>* warnings = nullptr);
    // The same for a model already in memory.
    static ParameterImage build(const std::filesystem::path& resourceRoot,
                                const std::filesystem::path& modelFolder,
                                const MouseConfigModel& model,
                                std::vector<std::string>* warnings = nullptr);
};

} // namespace varnix
