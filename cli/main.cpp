// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl: the command-line face of Varnix, for scripting and checks.
#include "cli/CommandRegistry.h"
#include "common/Diagnostics.h"
#include "macro/KeyNames.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace varnix::cli {

std::map<std::string, CommandInfo>& commandTable() {
    static std::map<std::string, CommandInfo> table;
    return table;
}

namespace {

void printUsage() {
    std::string usage = "usage: varnixctl [--backend hidapi|sim] [--sim FILE] [--res DIR] COMMAND "
                        "[ARGS]\ncommands:\n";
    for (const auto& [name, info] : commandTable())
        usage += "  " + name + (info.synopsis.empty() ? "" : " " + info.synopsis) + "\n      " +
                 info.summary + "\n";
    std::fputs(usage.c_str(), stdout);
}

int run(int argc, char** argv) {
    CliContext context;
    int i = 1;
    auto value = [&](const std::string& option) {
        if (i + 1 >= argc)
            throw UsageError(option + " needs a value");
        return std::string(argv[++i]);
    };
    for (; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--backend") {
            context.backendChoice.kind = value(argument);
            if (context.backendChoice.kind != "hidapi" && context.backendChoice.kind != "sim")
                throw UsageError("--backend takes hidapi or sim");
        } else if (argument == "--sim") {
            context.backendChoice.scenarioFile = value(argument);
        } else if (argument == "--res") {
            context.resourceRoot = value(argument);
        } else if (argument == "--help" || argument == "-h") {
            printUsage();
            return ExitOk;
        } else if (argument.starts_with("-")) {
            throw UsageError("unknown option " + argument);
        } else {
            break;
        }
    }
    if (i >= argc)
        throw UsageError("no command given (try --help)");
    const auto command = commandTable().find(argv[i]);
    if (command == commandTable().end())
        throw UsageError(std::string("unknown command ") + argv[i]);
    installMacroItemKeyNames();
    // Status lines of the core go to stderr so that stdout stays machine-readable.
    // The developer trace only with VARNIX_DEBUG=1, so that an error stays one line.
    setDiagnosticSink([](DiagnosticChannel channel, const std::string& text) {
        if (channel == DiagnosticChannel::Console || debugChannelEnabled()) {
            std::fputs(text.c_str(), stderr);
            std::fflush(stderr);
        }
    });
    return command->second.run(context, CommandArguments(argv + i + 1, argv + argc));
}

} // namespace
} // namespace varnix::cli

int main(int argc, char** argv) {
    using namespace varnix::cli;
    try {
        return run(argc, argv);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "varnixctl: %s\n", error.what());
        return ExitUsage;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "varnixctl: %s\n", error.what());
        return ExitFailure;
    }
}
