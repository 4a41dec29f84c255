// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ApplyWriter.h"

#include "device/ImageWriteOut.h"

namespace varnix {

ApplyWriter::ApplyWriter(FindDev& device, ImageSource source)
    : device_(device), source_(std::move(source)), target_(device.writeTarget().get()) {}

ApplyWriter::ImageSource ApplyWriter::fixedImage(ParameterImage image) {
    return [image = std::move(image)]() -> Expected<ParameterImage> { return image; };
}

ApplyResult ApplyWriter::write(const ProgressCallback& progress) {
    const PinnedWriteTarget pin(device_, target_);
    beforeImage();
    if (!source_)
        return ApplyResult::failed(Status::Abandoned, "the writer has no image source");
    Expected<ParameterImage> image = source_();
    if (!image)
        return ApplyResult::refused(image.outcome());
    lastImage_ = *image;
    if (const std::optional<std::string> why = whyTooLarge(*image))
        return ApplyResult::failed(Status::TooLarge, "the image does not fit the device: " + *why);
    return ImageWriteOut(device_, blockSize(), stopPosition(*image)).run(*image, progress, [this] {
        completion();
    });
}

} // namespace varnix
