// SPDX-License-Identifier: GPL-3.0-or-later
// "image mouse" and "apply mouse": the mouse image built from the saved MouseConfig.json.
#include "cli/DeviceCommandSupport.h"
#include "cli/DeviceKindTable.h"
#include "device/MouseWriter.h"
#include "mouse/MouseModelImage.h"

#include <cstdio>

namespace varnix::cli {
namespace {

ParameterImage mouseImage(CliContext& context, const DeviceRecord& record) {
    std::string error;
    std::vector<std::string> warnings;
    std::optional<ParameterImage> image = MouseModelImage::build(
        context.resolvedResourceRoot(), modelFolderOf(context, record), error, &warnings);
    if (!image)
        throw UsageError("mouse " + record.DevName + ": " + error);
    for (const std::string& warning : warnings)
        std::fprintf(stderr, "varnixctl: %s\n", warning.c_str());
    return std::move(*image);
}

int runImageMouse(CliContext& context, const CommandArguments& arguments) {
    return printKindImage(context, arguments, "mouse", DevTypeMouse, mouseImage);
}

int runApplyMouse(CliContext& context, const CommandArguments& arguments) {
    return applyKindImage<MouseWriter>(context, arguments, "mouse", DevTypeMouse, mouseImage);
}

const ImageKindRegistration imageRow{"mouse", {"--device INDEX", runImageMouse}};
const ApplyKindRegistration applyRow{"mouse", {"--device INDEX [--trace]", runApplyMouse}};

} // namespace
} // namespace varnix::cli
