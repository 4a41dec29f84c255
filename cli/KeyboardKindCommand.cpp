// SPDX-License-Identifier: GPL-3.0-or-later
// "image keyboard" and "apply keyboard": the keyboard image of the current profile, built from
// the saved KBconfig.json of the model folder and the macro store.
#include "cli/DeviceCommandSupport.h"
#include "cli/DeviceKindTable.h"
#include "keyboard/KeyboardApplyWriter.h"
#include "keyboard/KeyboardConfig.h"
#include "keyboard/KeyboardImageBuilder.h"
#include "macro/MacroStore.h"

#include <charconv>
#include <cstdio>

namespace varnix::cli {
namespace {

constexpr int MaxBaseAddress = 0xFFFF;

struct KeyboardImageOptions {
    int device = -1;
    std::optional<int> base;
};

int parseIndex(const std::string& text, const std::string& what, int limit) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    int value = -1;
    const auto [end, error] = std::from_chars(first, last, value, hex ? 16 : 10);
    if (first == last || error != std::errc() || end != last || value < 0 || value > limit)
        throw UsageError(what);
    return value;
}

KeyboardImageOptions parseImageOptions(const CommandArguments& arguments) {
    KeyboardImageOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if ((argument == "--device" || argument == "--base") && i + 1 >= arguments.size())
            throw UsageError("image keyboard: " + argument + " needs a value");
        if (argument == "--device")
            options.device = parseIndex(arguments[++i],
                                        "image keyboard: --device takes a "
                                        "catalogue index",
                                        1000000);
        else if (argument == "--base")
            options.base = parseIndex(arguments[++i],
                                      formatText("image keyboard: --base takes an address 0..%d "
                                                 "(or 0x0..0x%X)",
                                                 MaxBaseAddress, MaxBaseAddress),
                                      MaxBaseAddress);
        else
            throw UsageError("image keyboard: unknown argument " + argument);
    }
    if (options.device < 0)
        throw UsageError("image keyboard needs --device INDEX");
    return options;
}

// The saved model of a keyboard row and the macros it may play.
struct KeyboardModel {
    KeyboardConfig config;
    std::vector<MacroGroup> macros;
};

KeyboardModel loadKeyboardModel(CliContext& context, const DeviceRecord& record) {
    KeyboardModel model;
    model.config.LoadKeyboardConfig(modelFolderOf(context, record));
    MacroStore store(context.resolvedResourceRoot());
    if (const Outcome loaded = store.LoadMacroFile(); !loaded)
        throw UsageError("keyboard " + record.DevName + ": " + loaded.detail);
    model.macros = store.groups;
    return model;
}

int runImageKeyboard(CliContext& context, const CommandArguments& arguments) {
    const KeyboardImageOptions options = parseImageOptions(arguments);
    DeviceRecord& record =
        deviceRecordOf(context, options.device, DevTypeKeyboard, "image keyboard");
    const KeyboardModel model = loadKeyboardModel(context, record);
    int base = 0;
    if (options.base) {
        base = *options.base;
    } else {
        if (!record.Connected || !record.WriteHandle)
            throw UsageError("image keyboard: device " + record.DevName +
                             " is not connected (give --base to build without it)");
        FindDev& catalogue = context.catalogue();
        catalogue.writeTarget().set(record.WriteHandle);
        base = catalogue.ReadBaseAddress();
        catalogue.writeTarget().clear();
    }
    const KeyboardDeviceState state;
    std::string error;
    const std::optional<KeyboardImage> image =
        KeyboardImageBuilder(model.config, model.macros, state).build(base, &error);
    if (!image) {
        std::fprintf(stderr, "varnixctl: image keyboard: %s\n", error.c_str());
        return ExitFailure;
    }
    std::fputs(image->image.toText().c_str(), stdout);
    return ExitOk;
}

int runApplyKeyboard(CliContext& context, const CommandArguments& arguments) {
    const DeviceKindOptions options = parseDeviceKindOptions(arguments, "apply keyboard", true);
    DeviceRecord& record =
        deviceRecordOf(context, options.device, DevTypeKeyboard, "apply keyboard");
    KeyboardModel model = loadKeyboardModel(context, record);
    KeyboardDeviceState state;
    KeyboardApplyWriter writer(context.catalogue(), std::move(model.config),
                               std::move(model.macros), state);
    FrameRecorder recorder(context, record);
    const ApplyResult result = runWriterOn(context, record, writer);
    if (options.trace)
        recorder.print();
    return applyExitStatus("keyboard " + record.DevName, result);
}

const ImageKindRegistration imageRow{"keyboard", {"--device INDEX [--base A]", runImageKeyboard}};
const ApplyKindRegistration applyRow{"keyboard", {"--device INDEX [--trace]", runApplyKeyboard}};

} // namespace
} // namespace varnix::cli
