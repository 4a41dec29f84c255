// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/KeyboardWriter.h"

#include "common/Diagnostics.h"

namespace varnix {

KeyboardWriter::KeyboardWriter(FindDev& device, ImageSource source, int capacity)
    : ApplyWriter(device, std::move(source)), capacity_(capacity) {}

KeyboardWriter::KeyboardWriter(FindDev& device, ParameterImage image, int capacity)
    : KeyboardWriter(device, fixedImage(std::move(image)), capacity) {}

bool KeyboardWriter::fits(const ParameterImage& image, int capacity) {
    return stopOf(image) <= capacity - KeyboardCapacityReserve;
}

std::optional<std::string> KeyboardWriter::whyTooLarge(const ParameterImage& image) const {
    if (fits(image, capacity_))
        return std::nullopt;
    return formatText("it ends at 0x%X, past the capacity 0x%X less %d", stopOf(image), capacity_,
                      KeyboardCapacityReserve);
}

void KeyboardWriter::completion() {
    if (completion_)
        completion_();
}

} // namespace varnix
