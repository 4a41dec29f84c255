// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl devices: one line per catalogue row.
#include "cli/CommandRegistry.h"

#include <cstdio>

namespace varnix::cli {
namespace {

int runDevices(CliContext& context, const CommandArguments& arguments) {
    if (!arguments.empty())
        throw UsageError("devices takes no arguments");
    const FindDev& catalogue = context.catalogue();
    for (std::size_t i = 0; i < catalogue.DeviceList.size(); ++i) {
        const DeviceRecord& record = catalogue.DeviceList[i];
        std::printf("%zu %s %04X \"%s\" %s %d\n", i, record.DevTypeString.c_str(),
                    static_cast<unsigned>(record.Pid) & 0xFFFF, record.DevName.c_str(),
                    record.DevFolder.c_str(), record.Connected ? 1 : 0);
    }
    return ExitOk;
}

const CommandRegistration registration{
    "devices", {"", "list the catalogue rows: INDEX TYPE PID NAME FOLDER CONNECTED", runDevices}};

} // namespace
} // namespace varnix::cli
