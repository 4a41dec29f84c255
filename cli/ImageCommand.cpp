// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl image KIND: prints the parameter image a device kind's apply would write, built from
// the saved files of the catalogue row's model folder.
#include "cli/CommandRegistry.h"
#include "cli/DeviceCommandSupport.h"

#include <charconv>
#include <cstdio>

namespace varnix::cli {
namespace {

constexpr int MaxBaseAddress = 0xFFFF;

struct ImageOptions {
    int device = -1;
    std::optional<int> base;
};

int parseNumber(const std::string& text, const std::string& what, int limit) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    int value = -1;
    const auto [end, error] = std::from_chars(first, last, value, hex ? 16 : 10);
    if (first == last || error != std::errc() || end != last || value < 0 || value > limit)
        throw UsageError(what);
    return value;
}

// "--device INDEX", and for a keyboard "--base A" (the image is built at A without the device).
ImageOptions parseImageOptions(const CommandArguments& arguments, const std::string& command,
                               bool allowBase) {
    ImageOptions options;
    CommandArguments rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] != "--base" || !allowBase) {
            rest.push_back(arguments[i]);
            continue;
        }
        if (i + 1 >= arguments.size())
            throw UsageError(command + ": --base needs a value");
        options.base = parseNumber(arguments[++i],
                                   formatText("%s: --base takes an address 0..%d (or 0x0..0x%X)",
                                              command.c_str(), MaxBaseAddress, MaxBaseAddress),
                                   MaxBaseAddress);
    }
    options.device = parseDeviceKindOptions(rest, command, false).device;
    return options;
}

int runImage(CliContext& context, const CommandArguments& arguments) {
    if (arguments.empty())
        throw UsageError("image needs a device kind (" + deviceKindNames() + ")");
    const DeviceKind* kind = deviceKindNamed(arguments.front());
    if (!kind)
        throw UsageError("image: unknown device kind " + arguments.front() +
                         " (known: " + deviceKindNames() + ")");
    const std::string name(kind->name);
    const std::string command = "image " + name;
    const bool keyboard = kind->devType == DevTypeKeyboard;
    const ImageOptions options = parseImageOptions(
        CommandArguments(arguments.begin() + 1, arguments.end()), command, keyboard);
    DeviceRecord& record = deviceRecordOf(context, options.device, kind->devType, command);
    KindModel model = kindModelOf(context, record);
    model.baseAddress = options.base;

    FindDev& catalogue = context.catalogue();
    Expected<ParameterImage> image = [&] {
        if (!keyboard || options.base)
            return kind->savedImage(catalogue, model)();
        // The keyboard image sits at the base address the device reports.
        if (!record.Connected || !record.WriteHandle)
            throw UsageError(command + ": device " + record.DevName +
                             " is not connected (give --base to build without it)");
        const PinnedWriteTarget pin(catalogue, record.WriteHandle);
        return kind->savedImage(catalogue, model)();
    }();
    if (!image) {
        if (unreadableModel(image.outcome()))
            throw UsageError(name + " " + record.DevName + ": " + image.outcome().detail);
        std::fprintf(stderr, "varnixctl: %s: %s\n", command.c_str(),
                     image.outcome().detail.c_str());
        return ExitFailure;
    }
    std::fputs(image->toText().c_str(), stdout);
    return ExitOk;
}

const CommandRegistration registration{
    "image",
    {"mouse|keyboard|pad --device INDEX [--base A]",
     "print the parameter image of a device kind, one 'AAAA BB' line per entry (--base: the "
     "keyboard image at address A, without the device)",
     runImage}};

} // namespace
} // namespace varnix::cli
