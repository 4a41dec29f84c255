// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl apply KIND: builds a device kind's image from its saved files and writes it through
// the apply engine; "apply shared" writes the shared lighting to every connected device.
#include "cli/ApplyShared.h"
#include "cli/CommandRegistry.h"
#include "cli/DeviceCommandSupport.h"

namespace varnix::cli {
namespace {

int runApplyKind(CliContext& context, const DeviceKind& kind, const CommandArguments& arguments) {
    const std::string name(kind.name);
    const std::string command = "apply " + name;
    const DeviceKindOptions options = parseDeviceKindOptions(arguments, command, true);
    DeviceRecord& record = deviceRecordOf(context, options.device, kind.devType, command);
    if (reportUnconnected(command, record))
        return ExitFailure;
    const KindModel model = kindModelOf(context, record);
    FindDev& catalogue = context.catalogue();
    const std::unique_ptr<ApplyWriter> writer =
        kind.writer(catalogue, kind.savedImage(catalogue, model), model);
    FrameRecorder recorder(context, record);
    const ApplyResult result = runWriterOn(record, *writer);
    if (options.trace)
        recorder.print();
    if (unreadableModel(result))
        throw UsageError(name + " " + record.DevName + ": " + result.detail);
    return applyExitStatus(name + " " + record.DevName, result);
}

int runApply(CliContext& context, const CommandArguments& arguments) {
    const std::string known = deviceKindNames() + ", shared";
    if (arguments.empty())
        throw UsageError("apply needs a device kind (" + known + ")");
    const CommandArguments rest(arguments.begin() + 1, arguments.end());
    if (arguments.front() == "shared")
        return runApplyShared(context, rest);
    const DeviceKind* kind = deviceKindNamed(arguments.front());
    if (!kind)
        throw UsageError("apply: unknown device kind " + arguments.front() + " (known: " + known +
                         ")");
    return runApplyKind(context, *kind, rest);
}

const CommandRegistration registration{
    "apply",
    {"mouse|keyboard|pad --device INDEX [--trace] | shared [--device INDEX] [--trace]",
     "build a device kind's image from its saved files and write it (shared: the shared "
     "lighting to every connected device); --trace prints every feature report sent",
     runApply}};

} // namespace
} // namespace varnix::cli
