// SPDX-License-Identifier: GPL-3.0-or-later
// What the apply runner runs: a device writer that builds its image, checks that it fits and
// writes it out, every frame to the device the apply started on.
#pragma once

#include "common/Outcome.h"
#include "device/ApplyResult.h"
#include "device/FindDev.h"
#include "device/ParameterImage.h"

#include <functional>
#include <optional>
#include <string>

namespace varnix {

class ApplyWriter {
public:
    // Builds the image on the writer's thread: the image, or the refusal that says why there is
    // none (too large for the device, cannot be built), which ends the apply before anything is
    // written.
    using ImageSource = std::function<Expected<ParameterImage>()>;

    // The frames go to the device object's process-wide target as it is now, when the writer is
    // made; setTarget names another device.
    ApplyWriter(FindDev& device, ImageSource source);
    virtual ~ApplyWriter() = default;
    ApplyWriter(const ApplyWriter&) = delete;
    ApplyWriter& operator=(const ApplyWriter&) = delete;

    void setTarget(HidHandlePtr target) { target_ = std::move(target); }
    const HidHandlePtr& target() const { return target_; }

    // Runs the whole apply on the calling thread and reports progress to the callback. The
    // target is pinned for the whole apply.
    ApplyResult write(const ProgressCallback& progress);

    // The image of the last write (for traces and checks); none before the first.
    const std::optional<ParameterImage>& lastImage() const { return lastImage_; }

    // A source that hands out one ready image.
    static ImageSource fixedImage(ParameterImage image);

protected:
    FindDev& device() { return device_; }

    // The kind's rules: block size, where the write-out stops, why an image does not fit (none
    // when it fits), and the steps before the image is built and after activation.
    virtual int blockSize() const = 0;
    virtual int stopPosition(const ParameterImage& image) const = 0;
    virtual std::optional<std::string> whyTooLarge(const ParameterImage& image) const = 0;
    virtual void beforeImage() {}
    virtual void completion() {}

private:
    FindDev& device_;
    ImageSource source_;
    HidHandlePtr target_;
    std::optional<ParameterImage> lastImage_;
};

} // namespace varnix
