// SPDX-License-Identifier: GPL-3.0-or-later
// "apply shared": the saved shared lighting written to every connected device (or to one).
#include "cli/ApplyShared.h"

#include "cli/DeviceCommandSupport.h"
#include "kinds/SharedLightingWriter.h"
#include "lighting/SharedLighting.h"

#include <cstdio>

namespace varnix::cli {
namespace {

struct SharedOptions {
    std::optional<int> device;
    bool trace = false;
};

SharedOptions parseSharedOptions(const CommandArguments& arguments) {
    SharedOptions options;
    CommandArguments rest;
    for (const std::string& argument : arguments) {
        if (argument == "--trace")
            options.trace = true;
        else
            rest.push_back(argument);
    }
    if (!rest.empty())
        options.device = parseDeviceKindOptions(rest, "apply shared", false).device;
    return options;
}

} // namespace

int runApplyShared(CliContext& context, const CommandArguments& arguments) {
    const SharedOptions options = parseSharedOptions(arguments);
    const std::filesystem::path root = context.resolvedResourceRoot();
    SharedLighting lighting;
    Outcome loaded = SharedLighting::load(root / sharedfile::ConfigFile, lighting);
    if (!loaded)
        loaded = SharedLighting::load(root / sharedfile::ResetFile, lighting);
    if (!loaded)
        throw UsageError("shared lighting: " + loaded.detail);

    FindDev& catalogue = context.catalogue();
    if (options.device)
        deviceRecordOf(context, *options.device, 0, "apply shared");
    // With --device only that row stays connected for the write.
    std::vector<std::int32_t> connected;
    for (std::size_t i = 0; i < catalogue.DeviceList.size(); ++i) {
        connected.push_back(catalogue.DeviceList[i].Connected);
        if (options.device && static_cast<int>(i) != *options.device)
            catalogue.DeviceList[i].Connected = 0;
    }

    std::unique_ptr<FrameRecorder> recorder;
    int status = ExitOk;
    int written = 0;
    SharedLightingWriter writer(catalogue, root);
    writer.setObservers(
        [&](std::size_t index, const DeviceRecord&) {
            recorder = std::make_unique<FrameRecorder>(context, catalogue.DeviceList[index]);
        },
        [&](std::size_t index, const DeviceRecord& record, const ApplyResult& result) {
            ++written;
            if (options.trace) {
                std::printf("DEVICE %zu\n", index);
                std::fflush(stdout);
                recorder->print();
            }
            recorder.reset();
            if (applyExitStatus(record.DevTypeString + " " + record.DevName, result) != ExitOk)
                status = ExitFailure;
        });
    writer.writeToDevices(lighting);
    for (std::size_t i = 0; i < connected.size(); ++i)
        catalogue.DeviceList[i].Connected = connected[i];
    if (written == 0) {
        std::fprintf(stderr, "varnixctl: apply shared: no connected device\n");
        status = ExitFailure;
    }
    if (const std::optional<std::int64_t> interval = lighting.repeatIntervalMs())
        std::fprintf(stderr, "varnixctl: the program repeats this effect every %lld ms\n",
                     static_cast<long long>(*interval));
    return status;
}

} // namespace varnix::cli
