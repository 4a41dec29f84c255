// SPDX-License-Identifier: GPL-3.0-or-later
// Diagnostic text channels: the console line and the developer trace, replaceable for tests.
#pragma once

#include <functional>
#include <string>

namespace varnix {

enum class DiagnosticChannel {
    Console, // short status lines a user running from a terminal sees
    Debug,   // developer trace (parse errors, device events); shown only with VARNIX_DEBUG=1
};

using DiagnosticSink = std::function<void(DiagnosticChannel, const std::string&)>;

// Writes text to a channel. Unless a sink is set, Console goes to stdout and Debug to stderr
// when the developer trace is on.
void diagnostic(DiagnosticChannel channel, const std::string& text);
inline void consoleOutput(const std::string& text) { diagnostic(DiagnosticChannel::Console, text); }
inline void debugOutput(const std::string& text) { diagnostic(DiagnosticChannel::Debug, text); }

// Whether the environment turns the developer trace on (VARNIX_DEBUG=1).
bool debugChannelEnabled();

// Replaces the sink; an empty function restores the default. Returns the previous sink.
DiagnosticSink setDiagnosticSink(DiagnosticSink sink);

// printf-style formatting into a std::string.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace varnix
