// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a mouse image in 32-byte blocks; images of 3873 bytes or more do not fit.
#pragma once

#include "device/ApplyWriter.h"
#include "device/ImageWriteOut.h"

#include <cstddef>

namespace varnix {

// The smallest mouse image that no longer fits the device.
inline constexpr std::size_t MouseImageLimit = 3873;

class MouseWriter final : public ApplyWriter {
public:
    static constexpr int BlockSize = LargeBlockSize;

    MouseWriter(FindDev& device, ImageSource source);
    MouseWriter(FindDev& device, ParameterImage image);

    // Where the write-out stops: after the last image byte. The image count alone would cut off
    // the tail of an image with gaps (the mouse header leaves addresses 0 and 2..7 out).
    static int stopOf(const ParameterImage& image);
    static bool fits(const ParameterImage& image) { return image.size() < MouseImageLimit; }

protected:
    int blockSize() const override { return BlockSize; }
    int stopPosition(const ParameterImage& image) const override { return stopOf(image); }
    std::optional<std::string> whyTooLarge(const ParameterImage& image) const override;
};

} // namespace varnix
