// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/KeyboardWriter.h"

#include "common/Diagnostics.h"
#include "device/ImageWriteOut.h"

namespace varnix {

KeyboardWriter::KeyboardWriter(FindDev& device, ImageSource source, int capacity)
    : device_(device), source_(std::move(source)), capacity_(capacity) {}

KeyboardWriter::KeyboardWriter(FindDev& device, ParameterImage image, int capacity)
    : KeyboardWriter(device, fixedImage(std::move(image)), capacity) {}

bool KeyboardWriter::fits(const ParameterImage& image, int capacity) {
    return stopPosition(image) <= capacity - KeyboardCapacityReserve;
}

ApplyResult KeyboardWriter::write(const ProgressCallback& progress) {
    std::optional<ParameterImage> image = source_ ? source_() : std::nullopt;
    if (!image)
        return abandoned();
    const int stop = stopPosition(*image);
    if (!fits(*image, capacity_))
        return tooLarge(formatText("it ends at 0x%X, past the capacity 0x%X less %d", stop,
                                   capacity_, KeyboardCapacityReserve));
    return ImageWriteOut(device_, SmallBlockSize, stop).run(*image, progress, completion_);
}

} // namespace varnix
