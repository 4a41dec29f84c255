// SPDX-License-Identifier: GPL-3.0-or-later
// The table of varnixctl commands; each command's source file registers itself.
#pragma once

#include "cli/CliContext.h"

#include <functional>
#include <map>
#include <string>

namespace varnix::cli {

using CommandFunction = std::function<int(CliContext&, const CommandArguments&)>;

struct CommandInfo {
    std::string synopsis; // arguments after the command name
    std::string summary;  // one line for --help
    CommandFunction run;
};

std::map<std::string, CommandInfo>& commandTable();

// Defined at namespace scope in a command's source file: static CommandRegistration x{...};
struct CommandRegistration {
    CommandRegistration(const std::string& name, CommandInfo info) {
        commandTable().emplace(name, std::move(info));
    }
};

} // namespace varnix::cli
