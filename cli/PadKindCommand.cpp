// SPDX-License-Identifier: GPL-3.0-or-later
// "image pad" and "apply pad": the pad image built from the saved Padconfig.json.
#include "cli/DeviceCommandSupport.h"
#include "cli/DeviceKindTable.h"
#include "device/PadWriter.h"
#include "lighting/PadImageBuilder.h"
#include "lighting/PadLighting.h"

#include <cstdio>

namespace varnix::cli {
namespace {

// The saved lighting (the defaults when there is no file yet; nothing is written here).
ParameterImage padImage(CliContext& context, const DeviceRecord& record) {
    PadLighting lighting;
    const Outcome outcome =
        PadLighting::load(modelFolderOf(context, record), lighting, nullptr, false);
    if (!outcome.ok())
        throw UsageError("pad " + record.DevName + ": " + outcome.detail);
    return PadImageBuilder::build(PadDeviceValues::fromLighting(lighting));
}

int runImagePad(CliContext& context, const CommandArguments& arguments) {
    return printKindImage(context, arguments, "pad", DevTypePad, padImage);
}

int runApplyPad(CliContext& context, const CommandArguments& arguments) {
    return applyKindImage<PadWriter>(context, arguments, "pad", DevTypePad, padImage);
}

const ImageKindRegistration imageRow{"pad", {"--device INDEX", runImagePad}};
const ApplyKindRegistration applyRow{"pad", {"--device INDEX [--trace]", runApplyPad}};

} // namespace
} // namespace varnix::cli
