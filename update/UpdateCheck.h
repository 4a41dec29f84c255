// SPDX-License-Identifier: GPL-3.0-or-later
// The version query: asks the version service whether a newer release exists.
#pragma once

#include "update/HttpTransfer.h"

#include <atomic>
#include <filesystem>
#include <string>

namespace varnix {

enum class UpdateCheckAnswer {
    NoQuery,  // no settings file, or it names no service: nothing was asked
    NoUpdate, // the service answered and names no newer release
    Newer,    // total >= 1: a newer release exists
    Failed,   // the service could not be asked or gave no usable answer
};

struct UpdateCheckResult {
    UpdateCheckAnswer answer = UpdateCheckAnswer::NoQuery;
    std::string queryUrl; // what was asked (empty for NoQuery)
    TransferResult transfer;
    std::string detail; // why, for the debug channel

    // True when a newer release exists.
    explicit operator bool() const { return answer == UpdateCheckAnswer::Newer; }
};

// Reads `versionInfoFile`, asks the service and reads its answer. Blocks for at most the
// limits' time-outs, so it belongs on a worker thread. Every answer but Newer means that no
// update is offered; the reason goes to the debug channel too.
UpdateCheckResult CheckForUpdate(const std::filesystem::path& versionInfoFile,
                                 const TransferLimits& limits = versionQueryLimits(),
                                 const std::atomic<bool>* cancel = nullptr);

} // namespace varnix
