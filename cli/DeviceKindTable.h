// SPDX-License-Identifier: GPL-3.0-or-later
// The device kinds of "varnixctl image KIND" and "varnixctl apply KIND": each kind's source file
// adds its row, the two commands dispatch on the first argument.
#pragma once

#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"

#include <map>
#include <string>

namespace varnix::cli {

struct DeviceKindInfo {
    std::string synopsis; // the arguments after the kind
    CommandFunction run;  // gets the arguments after the kind
};

using DeviceKindTable = std::map<std::string, DeviceKindInfo>;

// Defined in ImageCommand.cpp and ApplyCommand.cpp.
DeviceKindTable& imageKindTable();
DeviceKindTable& applyKindTable();

// Defined at namespace scope in a kind's source file: const ImageKindRegistration x{...};
struct ImageKindRegistration {
    ImageKindRegistration(const std::string& kind, DeviceKindInfo info) {
        imageKindTable().emplace(kind, std::move(info));
    }
};
struct ApplyKindRegistration {
    ApplyKindRegistration(const std::string& kind, DeviceKindInfo info) {
        applyKindTable().emplace(kind, std::move(info));
    }
};

// Runs the row of `kind` (arguments[0]) with the remaining arguments.
int runDeviceKind(const DeviceKindTable& table, const char* command, CliContext& context,
                  const CommandArguments& arguments);
// "KIND ARGS | KIND ARGS" for the command's synopsis.
std::string deviceKindSynopsis(const DeviceKindTable& table);

} // namespace varnix::cli
