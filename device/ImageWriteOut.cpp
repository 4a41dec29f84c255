// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ImageWriteOut.h"

#include "common/Diagnostics.h"

#include <algorithm>
#include <stdexcept>

namespace varnix {

namespace {

constexpr int FullPercent = 100;

int percentOf(std::int64_t written, std::int64_t total) {
    return static_cast<int>(std::min<std::int64_t>(written * FullPercent / total, FullPercent));
}

void report(const ProgressCallback& progress, int percent) {
    if (progress)
        progress(percent);
}

} // namespace

ImageWriteOut::ImageWriteOut(FindDev& device, int blockSize, int stop)
    : device_(device), blockSize_(blockSize), stop_(stop) {
    if (blockSize < 1 || blockSize > frame::MaxBlockLength)
        throw std::invalid_argument(
            formatText("block size %d is not between 1 and %d", blockSize, frame::MaxBlockLength));
}

std::vector<ImageRun> ImageWriteOut::planRuns(const ParameterImage& image, int blockSize,
                                              int stop) {
    std::vector<ImageRun> runs;
    // Absent addresses cost nothing, so the scan jumps from one present address to the next.
    auto entry = image.entries().lower_bound(0);
    const auto end = image.entries().end();
    while (entry != end && entry->first < stop) {
        ImageRun run{entry->first, {}};
        int next = run.address;
        do {
            run.bytes.push_back(entry->second);
            ++entry;
            ++next;
        } while (entry != end && entry->first == next && next % blockSize != 0 &&
                 static_cast<int>(run.bytes.size()) < blockSize);
        runs.push_back(std::move(run));
    }
    return runs;
}

ApplyResult ImageWriteOut::stopped(int bytesWritten, int total) const {
    ApplyResult result = ApplyResult::failed(
        Status::DeviceGone,
        formatText("the device was removed during the apply (%d of %d bytes written)",
                   bytesWritten, total),
        bytesWritten);
    result.refusedFrames = device_.refusedFrames();
    return result;
}

ApplyResult ImageWriteOut::run(const ParameterImage& image, const ProgressCallback& progress,
                               const std::function<void()>& completion) {
    device_.resetSendStatus();
    const std::vector<ImageRun> runs = planRuns(image, blockSize_, stop_);
    const auto total = static_cast<std::int64_t>(std::max<std::size_t>(image.size(), 1));
    std::int64_t written = 0;
    for (const ImageRun& run : runs) {
        device_.WriteBlock(run.address, run.bytes);
        if (device_.targetVanished())
            return stopped(static_cast<int>(written), static_cast<int>(image.size()));
        written += static_cast<std::int64_t>(run.bytes.size());
        report(progress, percentOf(written, total));
    }
    device_.ActivateSettings();
    if (device_.targetVanished())
        return stopped(static_cast<int>(written), static_cast<int>(image.size()));
    if (completion) {
        completion();
        if (device_.targetVanished())
            return stopped(static_cast<int>(written), static_cast<int>(image.size()));
    }
    report(progress, FullPercent);
    ApplyResult result;
    result.bytesWritten = static_cast<int>(written);
    result.refusedFrames = device_.refusedFrames();
    return result;
}

} // namespace varnix
