// SPDX-License-Identifier: GPL-3.0-or-later
// The write-out every writer shares: aligned runs with WriteBlock, progress, activation.
#pragma once

#include "device/ApplyResult.h"
#include "device/FindDev.h"
#include "device/ParameterImage.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace varnix {

// Block sizes: keyboard and pad write 8-byte blocks, the mouse 32-byte blocks.
inline constexpr int SmallBlockSize = 8;
inline constexpr int LargeBlockSize = 32;

// One WriteBlock call: consecutive image bytes that stay inside one aligned block.
struct ImageRun {
    int address = 0;
    std::vector<std::uint8_t> bytes;
    bool operator==(const ImageRun&) const = default;
};

class ImageWriteOut {
public:
    // blockSize: 1..32 (8 or 32 in use); stop: runs start at addresses 0 .. stop - 1.
    // Throws std::invalid_argument for a block size outside 1..32.
    ImageWriteOut(FindDev& device, int blockSize, int stop);

    // The runs the write-out sends, in order. A run starts at a present address below stop and
    // ends before an absent address, before the next multiple of the block size, or after a full
    // block; the stop position only limits where runs start.
    static std::vector<ImageRun> planRuns(const ParameterImage& image, int blockSize, int stop);

    // Writes the runs, reporting the percentage after each one, sends ActivateSettings, runs the
    // writer's completion step and reports 100. A present device that refuses frames does not
    // stop it; a device that is gone ends it at once with Status::DeviceGone.
    ApplyResult run(const ParameterImage& image, const ProgressCallback& progress,
                    const std::function<void()>& completion = {});

private:
    ApplyResult stopped(int bytesWritten, int total) const;

    FindDev& device_;
    int blockSize_;
    int stop_;
};

} // namespace varnix
