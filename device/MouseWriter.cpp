// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/MouseWriter.h"

#include "common/Diagnostics.h"

#include <algorithm>

namespace varnix {

MouseWriter::MouseWriter(FindDev& device, ImageSource source)
    : ApplyWriter(device, std::move(source)) {}

MouseWriter::MouseWriter(FindDev& device, ParameterImage image)
    : MouseWriter(device, fixedImage(std::move(image))) {}

int MouseWriter::stopOf(const ParameterImage& image) {
    return std::max(static_cast<int>(image.size()), image.endAddress());
}

std::optional<std::string> MouseWriter::whyTooLarge(const ParameterImage& image) const {
    if (fits(image))
        return std::nullopt;
    return formatText("it holds %zu bytes, the limit is %zu", image.size(), MouseImageLimit - 1);
}

} // namespace varnix
