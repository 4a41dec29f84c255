// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyboardApplyWriter.h"

#include "device/KeyboardWriter.h"

namespace varnix {

KeyboardApplyWriter::KeyboardApplyWriter(FindDev& device, KeyboardConfig config,
                                         std::vector<MacroGroup> macros, KeyboardDeviceState& state)
    : device_(device), config_(std::move(config)), macros_(std::move(macros)), state_(state) {}

ApplyResult KeyboardApplyWriter::write(const ProgressCallback& progress) {
    const int base = device_.ReadBaseAddress();
    std::string error;
    lastImage_ = KeyboardImageBuilder(config_, macros_, state_).build(base, &error);
    if (!lastImage_)
        return tooLarge(error);
    KeyboardWriter writer(device_, lastImage_->image, config_.feature.capacity);
    const int mode = config_.lighting.mode;
    writer.setCompletion([this, mode] { state_.rememberWrite(mode); });
    return writer.write(progress);
}

} // namespace varnix
