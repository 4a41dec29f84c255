// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ApplyWriter.h"

namespace varnix {

ApplyWriter::ImageSource ApplyWriter::fixedImage(ParameterImage image) {
    return [image = std::move(image)]() -> std::optional<ParameterImage> { return image; };
}

ApplyResult ApplyWriter::tooLarge(const std::string& detail) {
    ApplyResult result;
    result.status = ApplyStatus::TooLarge;
    result.message = "the image does not fit the device: " + detail;
    return result;
}

ApplyResult ApplyWriter::abandoned() {
    ApplyResult result;
    result.status = ApplyStatus::Abandoned;
    result.message = "the image could not be built; nothing was written";
    return result;
}

} // namespace varnix
