// SPDX-License-Identifier: GPL-3.0-or-later
// How an apply ended, and the progress callback every writer reports to.
#pragma once

#include "common/Outcome.h"

#include <functional>
#include <string>

namespace varnix {

// An outcome with what the write-out did. Done: every run written, settings activated, 100 %
// reported. TooLarge: the image does not fit the device, nothing was written ("maxDataWarn").
// Abandoned: the image could not be built, nothing was written. DeviceGone: the device went away
// during the write-out, which stopped there. Failed: any other reason (see detail).
struct ApplyResult : Outcome {
    int bytesWritten = 0;  // image bytes handed to WriteBlock
    int refusedFrames = 0; // frames a present device refused (they are lost, the apply goes on)

    bool completed() const { return status == Status::Done; }

    // A failed apply; the message keys follow the status ("Tip"/"maxDataWarn" for an image too
    // large, "Error"/"ApplyErr" otherwise).
    static ApplyResult failed(Status status, std::string detail, int bytesWritten = 0);
    // A refusal from before the write-out (an image source that says why it has no image).
    static ApplyResult refused(const Outcome& refusal);
};

// Receives the percentage written, 0..100, on the thread that runs the writer.
using ProgressCallback = std::function<void(int percent)>;

} // namespace varnix
