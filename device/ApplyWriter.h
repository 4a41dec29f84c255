// SPDX-License-Identifier: GPL-3.0-or-later
// What the apply runner runs: a device writer that builds its image and writes it out.
#pragma once

#include "device/ApplyResult.h"
#include "device/ParameterImage.h"

#include <functional>
#include <optional>
#include <string>

namespace varnix {

class ApplyWriter {
public:
    // Builds the image on the writer's thread; no value when it cannot be built, which abandons
    // the apply before anything is written.
    using ImageSource = std::function<std::optional<ParameterImage>()>;

    virtual ~ApplyWriter() = default;
    // Runs the whole apply on the calling thread and reports progress to the callback.
    virtual ApplyResult write(const ProgressCallback& progress) = 0;

    // A source that hands out one ready image.
    static ImageSource fixedImage(ParameterImage image);

protected:
    // The refusal for an image that does not fit: nothing written, "maxDataWarn" to be shown.
    static ApplyResult tooLarge(const std::string& detail);
    static ApplyResult abandoned();
};

} // namespace varnix
