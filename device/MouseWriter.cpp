// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/MouseWriter.h"

#include "common/Diagnostics.h"
#include "device/ImageWriteOut.h"

#include <algorithm>

namespace varnix {

MouseWriter::MouseWriter(FindDev& device, ImageSource source)
    : device_(device), source_(std::move(source)) {}

MouseWriter::MouseWriter(FindDev& device, ParameterImage image)
    : MouseWriter(device, fixedImage(std::move(image))) {}

int MouseWriter::stopPosition(const ParameterImage& image) {
    return std::max(static_cast<int>(image.size()), image.endAddress());
}

ApplyResult MouseWriter::write(const ProgressCallback& progress) {
    std::optional<ParameterImage> image = source_ ? source_() : std::nullopt;
    if (!image)
        return abandoned();
    if (!fits(*image))
        return tooLarge(
            formatText("it holds %zu bytes, the limit is %zu", image->size(), MouseImageLimit - 1));
    return ImageWriteOut(device_, LargeBlockSize, stopPosition(*image)).run(*image, progress);
}

} // namespace varnix
