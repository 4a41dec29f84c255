// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl: the command-line face of Varnix, for scripting and checks.
#include "cli/CliContext.h"
#include "common/Diagnostics.h"

#include <cstdio>
#include <functional>
#include <map>
#include <string>

namespace {

using namespace varnix::cli;

constexpr const char* Usage =
    "usage: varnixctl [--backend hidapi|sim] [--sim FILE] [--res DIR] COMMAND [ARGS]\n"
    "commands:\n"
    "  devices    list the catalogue rows: INDEX TYPE PID NAME FOLDER CONNECTED\n";

using Command = std::function<int(CliContext&, const CommandArguments&)>;

const std::map<std::string, Command>& commands() {
    static const std::map<std::string, Command> table = {
        {"devices", runDevices},
    };
    return table;
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
            std::fputs(Usage, stdout);
            return ExitOk;
        } else if (argument.starts_with("-")) {
            throw UsageError("unknown option " + argument);
        } else {
            break;
        }
    }
    if (i >= argc)
        throw UsageError("no command given (try --help)");
    const auto command = commands().find(argv[i]);
    if (command == commands().end())
        throw UsageError(std::string("unknown command ") + argv[i]);
    // Status lines of the catalogue load go to stderr so that stdout stays machine-readable.
    varnix::setDiagnosticSink([](varnix::DiagnosticChannel, const std::string& text) {
        std::fputs(text.c_str(), stderr);
    });
    return command->second(context, CommandArguments(argv + i + 1, argv + argc));
}

} // namespace

int main(int argc, char** argv) {
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
