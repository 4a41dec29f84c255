// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/HttpTransfer.h"

#include "common/Diagnostics.h"

#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace varnix {
namespace {

constexpr const char* AllowedProtocols = "http,https";

void initialiseCurlOnce() {
    // The global state is made once and kept for the process: curl_global_cleanup while another
    // thread transfers is not allowed.
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_ALL); });
}

struct TransferState {
    const TransferLimits* limits = nullptr;
    const TransferHooks* hooks = nullptr;
    std::uint64_t received = 0;
    bool tooLarge = false;
    bool sinkFailed = false;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    const std::size_t bytes = size * count;
    if (state.received + bytes > state.limits->maxBodyBytes) {
        state.tooLarge = true;
        return 0; // anything but `bytes` ends the transfer
    }
    state.received += bytes;
    if (state.hooks->body && !state.hooks->body(data, bytes)) {
        state.sinkFailed = true;
        return 0;
    }
    return bytes;
}

int onProgress(void* user, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
    auto& state = *static_cast<TransferState*>(user);
    if (state.hooks->cancel && state.hooks->cancel->load())
        return 1; // aborts with CURLE_ABORTED_BY_CALLBACK
    if (state.hooks->progress)
        state.hooks->progress(static_cast<std::uint64_t>(now), static_cast<std::uint64_t>(total));
    return 0;
}

TransferError errorOf(CURLcode code, const TransferState& state) {
    switch (code) {
    case CURLE_OK:
        return TransferError::None;
    case CURLE_OPERATION_TIMEDOUT:
        return TransferError::TimedOut;
    case CURLE_FILESIZE_EXCEEDED:
        return TransferError::TooLarge;
    case CURLE_TOO_MANY_REDIRECTS:
        return TransferError::TooManyRedirects;
    case CURLE_PARTIAL_FILE:
        return TransferError::Truncated;
    case CURLE_ABORTED_BY_CALLBACK:
        return TransferError::Cancelled;
    case CURLE_WRITE_ERROR:
        if (state.tooLarge)
            return TransferError::TooLarge;
        if (state.sinkFailed)
            return TransferError::SinkFailed;
        return TransferError::Failed;
    default:
        return TransferError::Failed;
    }
}

} // namespace

TransferLimits versionQueryLimits() {
    return TransferLimits{};
}

TransferLimits downloadLimits() {
    TransferLimits limits;
    limits.totalTimeoutMs = 0;
    limits.stallTimeoutMs = 30000;
    limits.maxBodyBytes = 256ull * 1024 * 1024;
    return limits;
}

TransferResult httpGet(const std::string& url, const TransferLimits& limits,
                       const TransferHooks& hooks) {
    initialiseCurlOnce();
    TransferResult result;
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(),
                                                               &curl_easy_cleanup);
    if (!handle) {
        result.error = TransferError::Failed;
        result.detail = "no libcurl handle";
        return result;
    }
    CURL* curl = handle.get();
    TransferState state;
    state.limits = &limits;
    state.hooks = &hooks;
    char errorText[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    // Worker threads: no signals for time-outs.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, AllowedProtocols);
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, AllowedProtocols);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, limits.maxRedirects);
    curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);
    if (limits.stallTimeoutMs > 0) {
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME,
                         std::max(1L, (limits.stallTimeoutMs + 999) / 1000));
    }
    // An announced length over the cap ends the transfer before the body.
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &state);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &state);

    const CURLcode code = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    result.responseCode = status;
    if (char* effective = nullptr;
        curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
        result.effectiveUrl = effective;
    result.bodyBytes = state.received;
    result.error = errorOf(code, state);
    if (code != CURLE_OK)
        result.detail = errorText[0] ? std::string(errorText) : curl_easy_strerror(code);
    return result;
}

TransferResult httpGetText(const std::string& url, const TransferLimits& limits, std::string& body,
                           const std::atomic<bool>* cancel) {
    body.clear();
    TransferHooks hooks;
    hooks.body = [&body](const char* data, std::size_t size) {
        body.append(data, size);
        return true;
    };
    hooks.cancel = cancel;
    return httpGet(url, limits, hooks);
}

std::string describeTransfer(const TransferResult& result) {
    auto with = [&](const char* what) {
        return result.detail.empty() ? std::string(what)
                                     : std::string(what) + " (" + result.detail + ")";
    };
    switch (result.error) {
    case TransferError::None:
        return formatText("HTTP %ld", result.responseCode);
    case TransferError::Failed:
        return with("transfer failed");
    case TransferError::TimedOut:
        return with("timed out");
    case TransferError::TooLarge:
        return with("answer too large");
    case TransferError::TooManyRedirects:
        return with("too many redirections");
    case TransferError::Truncated:
        return with("connection ended early");
    case TransferError::Cancelled:
        return "cancelled";
    case TransferError::SinkFailed:
        return "the received data could not be stored";
    }
    return "?";
}

} // namespace varnix
