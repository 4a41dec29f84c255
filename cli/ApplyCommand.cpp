// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl apply KIND: builds a device kind's image and writes it through the apply engine.
#include "cli/DeviceKindTable.h"

namespace varnix::cli {

DeviceKindTable& applyKindTable() {
    static DeviceKindTable table;
    return table;
}

namespace {

int runApply(CliContext& context, const CommandArguments& arguments) {
    return runDeviceKind(applyKindTable(), "apply", context, arguments);
}

const CommandRegistration registration{
    "apply",
    {"KIND --device INDEX [--trace] ...",
     "build a device kind's image from its saved files and write it; --trace prints every "
     "feature report sent",
     runApply}};

} // namespace
} // namespace varnix::cli
