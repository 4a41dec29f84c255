// SPDX-License-Identifier: GPL-3.0-or-later
// One HTTP(S) GET through libcurl's easy interface, with the limits every transfer of the
// program keeps: time-outs, a size cap, verified TLS, a bounded redirect chain.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace varnix {

struct TransferLimits {
    long connectTimeoutMs = 5000;
    // The whole transfer; 0: no limit (downloads end on the stall limit instead).
    long totalTimeoutMs = 15000;
    // A transfer slower than 1 byte/s for this long is abandoned; 0: no stall limit.
    long stallTimeoutMs = 0;
    // Bytes of body accepted; a longer answer fails with tooLarge.
    std::uint64_t maxBodyBytes = 1024 * 1024;
    long maxRedirects = 50;
};

// The version query's limits.
TransferLimits versionQueryLimits();
// A download's: no total time-out (a large file may take long) but a stall limit, and a cap
// of 256 MiB.
TransferLimits downloadLimits();

enum class TransferError {
    None,
    Failed,   // libcurl's error (connection refused, TLS, malformed URL, ...)
    TimedOut, // the connect or total time-out, or the stall limit
    TooLarge, // the body passed maxBodyBytes
    TooManyRedirects,
    Truncated,  // the connection ended before the announced length
    Cancelled,  // the caller's cancel flag was set
    SinkFailed, // the receiver of the body refused a block (a file write failed)
};

struct TransferResult {
    TransferError error = TransferError::None;
    long responseCode = 0;    // HTTP status of the last answer; 0 when none arrived
    std::string detail;       // libcurl's error text, for the debug channel
    std::string effectiveUrl; // the address after redirects
    std::uint64_t bodyBytes = 0;

    bool completed() const { return error == TransferError::None; }
    bool ok() const { return completed() && responseCode == 200; }
};

struct TransferHooks {
    // Receives each block of the body; false stops the transfer (SinkFailed). Unset: the body
    // is dropped.
    std::function<bool(const char* data, std::size_t size)> body;
    // Bytes received so far and the announced total (0 when unknown). Called on the transfer's
    // thread.
    std::function<void(std::uint64_t received, std::uint64_t total)> progress;
    // Set from any thread to stop the transfer soon.
    const std::atomic<bool>* cancel = nullptr;
};

// GETs `url` (http or https only, also along redirects).
TransferResult httpGet(const std::string& url, const TransferLimits& limits,
                       const TransferHooks& hooks);

// The body in memory (at most maxBodyBytes).
TransferResult httpGetText(const std::string& url, const TransferLimits& limits, std::string& body,
                           const std::atomic<bool>* cancel = nullptr);

// One line for the debug channel: "timed out (...)", "HTTP 404", ...
std::string describeTransfer(const TransferResult& result);

} // namespace varnix
