// SPDX-License-Identifier: GPL-3.0-or-later
// Downloads of one file: received into a temporary file beside the target and renamed to the
// target's name only when the whole body arrived, so a broken transfer never leaves a
// truncated file under the final name.
#pragma once

#include "update/HttpTransfer.h"

#include <filesystem>
#include <string>

namespace varnix {

struct DownloadResult {
    TransferResult transfer;
    std::filesystem::path path; // the finished file (empty unless ok)
    std::string detail;         // why it failed, for the debug channel

    bool ok() const { return !path.empty(); }
};

// The file name a URL names: the part after its last "/", without a query or fragment; empty
// when that is no usable file name ("", ".", "..").
std::string downloadFileName(const std::string& url);

// GETs `url` into `target`. Only a complete 200 answer replaces `target`; on any failure the
// temporary file is removed and `target` is untouched.
DownloadResult downloadFile(const std::string& url, const std::filesystem::path& target,
                            const TransferLimits& limits = downloadLimits(),
                            const TransferHooks& hooks = {});

// Downloads into `folder` (created when missing) under the URL's file name.
DownloadResult DownloadToFolder(const std::string& url, const std::filesystem::path& folder,
                                const TransferLimits& limits = downloadLimits(),
                                const TransferHooks& hooks = {});

} // namespace varnix
