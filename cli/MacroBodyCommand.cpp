// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl macro-body: the device bodies of the macros of a group file.
#include "cli/CommandRegistry.h"
#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "common/JsonRead.h"
#include "macro/MacroBodyEncoder.h"
#include "macro/MacroFileFormat.h"

#include <cstdio>

namespace varnix::cli {
namespace {

int runMacroBody(CliContext&, const CommandArguments& arguments) {
    if (arguments.size() != 1 || arguments[0].starts_with("--"))
        throw UsageError("macro-body takes one group file");
    const std::string& file = arguments[0];
    const std::optional<std::string> bytes = readWholeFile(file);
    if (!bytes)
        throw UsageError("cannot read group file " + file);
    MacroGroup group;
    try {
        group = macrofile::groupFromJson(parseJson(*bytes));
    } catch (const std::exception& error) {
        throw UsageError(file + ": " + error.what());
    }
    const MacroBodyEncoder encoder;
    std::string out;
    for (const MacroRecord& macro : group.macros) {
        // Placed at address 0, the parameter addresses inside a body are offsets into it.
        const Expected<MacroBody> body = encoder.encode(macro.data, 0);
        if (!body)
            throw UsageError(file + ": " + macro.name + ": " + body.outcome().detail);
        out += formatText("%s n=%d size=%d\n", macro.name.c_str(), body->entryCount, body->size);
        for (std::size_t i = 0; i < body->bytes.size(); ++i)
            out += formatText(i == 0 ? "%02X" : " %02X", body->bytes[i]);
        out += '\n';
    }
    std::fputs(out.c_str(), stdout);
    return ExitOk;
}

const CommandRegistration registration{
    "macro-body",
    {"GROUP_FILE",
     "print each macro of a group file as 'NAME n=N size=S' and its device body in hex",
     runMacroBody}};

} // namespace
} // namespace varnix::cli
