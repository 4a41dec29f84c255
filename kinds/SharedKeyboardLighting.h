// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard branch of the shared lighting write: the keyboard's own image with the shared
// effect, written through the keyboard writer.
#pragma once

#include "device/ApplyResult.h"
#include "device/FindDev.h"
#include "lighting/LedEffect.h"

#include <filesystem>

namespace varnix {

// Loads the keyboard model of `modelFolder` (its files and Config.ini feature profile), puts
// `effect` in place of its lighting and writes the image of its current profile, with the macros
// of the resource root's macro store, to the device's current write target.
ApplyResult writeSharedKeyboardLighting(FindDev& device, const std::filesystem::path& resourceRoot,
                                        const std::filesystem::path& modelFolder,
                                        const LedEffect& effect);

} // namespace varnix
