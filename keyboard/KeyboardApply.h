// SPDX-License-Identifier: GPL-3.0-or-later
// A keyboard apply: the image of the current profile, built on the writer's thread at the
// device's base address, written through the keyboard writer.
#pragma once

#include "device/ApplyWriter.h"
#include "device/KeyboardWriter.h"
#include "keyboard/KeyboardConfig.h"
#include "keyboard/KeyboardDeviceState.h"
#include "macro/MacroGroup.h"

#include <memory>
#include <optional>
#include <vector>

namespace varnix {

// Builds from copies of the model and the macros; reads the base address from the device unless
// `base` names one. A macro body that would reach 0x4000 refuses the image as too large
// ("maxDataWarn"), like an image past the memory capacity.
ApplyWriter::ImageSource keyboardImageSource(FindDev& device, KeyboardConfig config,
                                             std::vector<MacroGroup> macros,
                                             const KeyboardDeviceState& state,
                                             std::optional<int> base = std::nullopt);

// The writer with that source and the model's capacity; a complete write-out updates the
// carried settings of `state`, which must outlive the apply.
std::unique_ptr<KeyboardWriter> makeKeyboardWriter(FindDev& device, KeyboardConfig config,
                                                   std::vector<MacroGroup> macros,
                                                   KeyboardDeviceState& state);

} // namespace varnix
