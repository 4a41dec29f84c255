// SPDX-License-Identifier: GPL-3.0-or-later
// How an apply ended, and the progress callback every writer reports to.
#pragma once

#include <functional>
#include <string>

namespace varnix {

// Language key of the message shown when an image does not fit the device.
inline constexpr const char* MaxDataWarnKey = "maxDataWarn";

enum class ApplyStatus {
    Completed,  // every run written, settings activated, 100 % reported
    TooLarge,   // the image does not fit the device; nothing was written ("maxDataWarn")
    Abandoned,  // the image could not be built; nothing was written
    DeviceGone, // the device went away during the write-out; the apply stopped there
    Failed,     // the writer failed for another reason (see message)
};

struct ApplyResult {
    ApplyStatus status = ApplyStatus::Completed;
    std::string message;   // one line for the log or the command line; empty when completed
    int bytesWritten = 0;  // image bytes handed to WriteBlock
    int refusedFrames = 0; // frames a present device refused (they are lost, the apply goes on)

    bool completed() const { return status == ApplyStatus::Completed; }
};

// Receives the percentage written, 0..100, on the thread that runs the writer.
using ProgressCallback = std::function<void(int percent)>;

} // namespace varnix
