// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a mouse image in 32-byte blocks; images of 3873 bytes or more do not fit.
#pragma once

#include "device/ApplyWriter.h"
#include "device/FindDev.h"

#include <cstddef>

namespace varnix {

// The smallest mouse image that no longer fits the device.
inline constexpr std::size_t MouseImageLimit = 3873;

class MouseWriter final : public ApplyWriter {
public:
    MouseWriter(FindDev& device, ImageSource source);
    MouseWriter(FindDev& device, ParameterImage image);

    // Where the write-out stops: after the last image byte. The image count alone would cut off
    // the tail of an image with gaps (the mouse header leaves addresses 0 and 2..7 out).
    static int stopPosition(const ParameterImage& image);
    static bool fits(const ParameterImage& image) { return image.size() < MouseImageLimit; }

    ApplyResult write(const ProgressCallback& progress) override;

private:
    FindDev& device_;
    ImageSource source_;
};

} // namespace varnix
