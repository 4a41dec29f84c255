// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace varnix {
namespace {

std::mutex& sinkMutex() {
    static std::mutex mutex;
    return mutex;
}

DiagnosticSink& currentSink() {
    static DiagnosticSink sink;
    return sink;
}

} // namespace

void diagnostic(DiagnosticChannel channel, const std::string& text) {
    std::lock_guard lock(sinkMutex());
    if (auto& sink = currentSink()) {
        sink(channel, text);
        return;
    }
    if (channel == DiagnosticChannel::Debug && !debugChannelEnabled())
        return;
    std::FILE* stream = channel == DiagnosticChannel::Console ? stdout : stderr;
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
}

bool debugChannelEnabled() {
    static const bool enabled = [] {
        const char* value = std::getenv("VARNIX_DEBUG");
        return value && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

DiagnosticSink setDiagnosticSink(DiagnosticSink sink) {
    std::lock_guard lock(sinkMutex());
    DiagnosticSink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

std::string formatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (size > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), static_cast<std::size_t>(size));
    }
    va_end(args);
    return text;
}

} // namespace varnix
