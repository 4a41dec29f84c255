// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl image KIND: prints the parameter image a device kind's apply would write.
#include "cli/DeviceKindTable.h"
#include "common/Diagnostics.h"

#include <cstdio>

namespace varnix::cli {

DeviceKindTable& imageKindTable() {
    static DeviceKindTable table;
    return table;
}

int runDeviceKind(const DeviceKindTable& table, const char* command, CliContext& context,
                  const CommandArguments& arguments) {
    std::string kinds;
    for (const auto& [kind, info] : table)
        kinds += (kinds.empty() ? "" : ", ") + kind;
    if (arguments.empty())
        throw UsageError(std::string(command) + " needs a device kind (" + kinds + ")");
    const auto row = table.find(arguments.front());
    if (row == table.end())
        throw UsageError(std::string(command) + ": unknown device kind " + arguments.front() +
                         " (known: " + kinds + ")");
    return row->second.run(context, CommandArguments(arguments.begin() + 1, arguments.end()));
}

std::string deviceKindSynopsis(const DeviceKindTable& table) {
    std::string synopsis;
    for (const auto& [kind, info] : table)
        synopsis += (synopsis.empty() ? "" : " | ") + kind + " " + info.synopsis;
    return synopsis;
}

namespace {

int runImage(CliContext& context, const CommandArguments& arguments) {
    return runDeviceKind(imageKindTable(), "image", context, arguments);
}

// The synopsis is read when --help prints, after every kind has added its row.
const CommandRegistration registration{
    "image",
    {"KIND --device INDEX ...",
     "print the parameter image of a device kind, one 'AAAA BB' line per entry", runImage}};

} // namespace
} // namespace varnix::cli
