// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard apply: reads the base address, builds the image of the current profile and
// writes it through the keyboard write-out; a complete write updates the carried settings.
#pragma once

#include "device/ApplyWriter.h"
#include "device/FindDev.h"
#include "keyboard/KeyboardConfig.h"
#include "keyboard/KeyboardDeviceState.h"
#include "keyboard/KeyboardImageBuilder.h"
#include "macro/MacroGroup.h"

#include <optional>
#include <vector>

namespace varnix {

class KeyboardApplyWriter final : public ApplyWriter {
public:
    // Works on copies of the model and the macros; `state` is the device object's state, which
    // must outlive the apply.
    KeyboardApplyWriter(FindDev& device, KeyboardConfig config, std::vector<MacroGroup> macros,
                        KeyboardDeviceState& state);

    // A macro body that would reach 0x4000 ends the apply as too large ("maxDataWarn"), with
    // nothing written, like an image past the memory capacity.
    ApplyResult write(const ProgressCallback& progress) override;

    // The image of the last write (for traces and checks).
    const std::optional<KeyboardImage>& lastImage() const { return lastImage_; }

private:
    FindDev& device_;
    KeyboardConfig config_;
    std::vector<MacroGroup> macros_;
    KeyboardDeviceState& state_;
    std::optional<KeyboardImage> lastImage_;
};

} // namespace varnix
