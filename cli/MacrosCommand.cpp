// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl macros: the macro store, one line per group and one indented line per macro.
#include "cli/CommandRegistry.h"
#include "common/Diagnostics.h"
#include "macro/MacroStore.h"

#include <cstdio>

namespace varnix::cli {

// A name in double quotes; quote, backslash and control characters escaped.
std::string quotedMacroName(const std::string& name) {
    std::string out = "\"";
    for (const char c : name) {
        if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            out += formatText("\\x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
        else
            out += c;
    }
    return out + "\"";
}

// "G GUID "name" COUNT"
std::string macroGroupLine(const MacroGroup& group) {
    return "G " + group.guid + " " + quotedMacroName(group.name) + " " +
           std::to_string(group.macros.size());
}

namespace {

int runMacros(CliContext& context, const CommandArguments& arguments) {
    if (!arguments.empty())
        throw UsageError("macros takes no arguments");
    MacroStore store(context.resolvedResourceRoot());
    if (const Outcome loaded = store.LoadMacroFile(); !loaded) {
        std::fprintf(stderr, "varnixctl: %s\n", loaded.detail.c_str());
        return ExitFailure;
    }
    for (const MacroGroup& group : store.groups) {
        std::printf("%s\n", macroGroupLine(group).c_str());
        for (const MacroRecord& macro : group.macros)
            std::printf("  M %s %s items=%u rpt=%u/%u\n", macro.guid.c_str(),
                        quotedMacroName(macro.name).c_str(), unsigned{macro.data.num},
                        static_cast<unsigned>(macro.data.rptType & MacroRepeatModeMask),
                        unsigned{macro.data.macRpt});
    }
    return ExitOk;
}

const CommandRegistration registration{
    "macros",
    {"",
     "list the macro store: G GUID \"NAME\" COUNT, then   M GUID \"NAME\" items=N rpt=MODE/COUNT",
     runMacros}};

} // namespace
} // namespace varnix::cli
