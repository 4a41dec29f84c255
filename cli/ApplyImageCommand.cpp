// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl apply-image: writes a parameter image from a text file through the write-out.
#include "cli/CommandRegistry.h"
#include "cli/DeviceCommandSupport.h"
#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "device/ApplyRunner.h"
#include "device/ImageWriteOut.h"
#include "device/SimulatedBackend.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <mutex>
#include <optional>
#include <unistd.h>

namespace varnix::cli {
namespace {

// Addresses are 16 bits; the stop position may name the first address after the last one.
constexpr int MaxAddress = 0xFFFF;
constexpr int MaxStop = MaxAddress + 1;

struct ApplyImageOptions {
    int device = -1;
    int block = 0;
    std::optional<int> stop;
    bool trace = false;
    std::string file;
};

std::optional<unsigned long> parseNumber(const std::string& text, int base) {
    unsigned long value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value, base);
    if (text.empty() || error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

// Decimal, or hexadecimal after 0x.
std::optional<unsigned long> parseDecimalOrHex(const std::string& text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return parseNumber(text.substr(2), 16);
    return parseNumber(text, 10);
}

ApplyImageOptions parseOptions(const CommandArguments& arguments) {
    ApplyImageOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size())
                throw UsageError(argument + " needs a value");
            return arguments[++i];
        };
        if (argument == "--device") {
            const auto index = parseNumber(value(), 10);
            if (!index || *index > 1000000)
                throw UsageError("--device takes a catalogue index");
            options.device = static_cast<int>(*index);
        } else if (argument == "--block") {
            const std::string& size = value();
            if (size != "8" && size != "32")
                throw UsageError("--block takes 8 or 32");
            options.block = size == "8" ? SmallBlockSize : LargeBlockSize;
        } else if (argument == "--stop") {
            const auto stop = parseDecimalOrHex(value());
            if (!stop || *stop > static_cast<unsigned long>(MaxStop))
                throw UsageError(
                    formatText("--stop takes a number from 0 to %d (or 0x%X)", MaxStop, MaxStop));
            options.stop = static_cast<int>(*stop);
        } else if (argument == "--trace") {
            options.trace = true;
        } else if (argument.starts_with("-") && argument != "-") {
            throw UsageError("unknown apply-image option " + argument);
        } else if (options.file.empty()) {
            options.file = argument;
        } else {
            throw UsageError("apply-image takes one image file");
        }
    }
    if (options.device < 0)
        throw UsageError("apply-image needs --device INDEX");
    if (options.block == 0)
        throw UsageError("apply-image needs --block 8 or --block 32");
    if (options.file.empty())
        throw UsageError("apply-image needs an image file");
    return options;
}

int runApplyImage(CliContext& context, const CommandArguments& arguments) {
    const ApplyImageOptions options = parseOptions(arguments);
    const std::optional<std::string> text = readWholeFile(options.file);
    if (!text)
        throw UsageError("cannot read image file " + options.file);
    const Expected<ParameterImage> parsed = ParameterImage::fromText(*text);
    if (!parsed)
        throw UsageError(options.file + ": " + parsed.outcome().detail);
    const ParameterImage& image = *parsed;
    const int stop = options.stop.value_or(image.endAddress());

    FindDev& catalogue = context.catalogue();
    if (static_cast<std::size_t>(options.device) >= catalogue.DeviceList.size())
        throw UsageError(formatText("no device with index %d (the catalogue has %zu rows)",
                                    options.device, catalogue.DeviceList.size()));
    DeviceRecord& record = catalogue.DeviceList[static_cast<std::size_t>(options.device)];
    if (!record.Connected || !record.WriteHandle) {
        std::fprintf(stderr, "varnixctl: device %d (%s) is not connected\n", options.device,
                     record.DevName.c_str());
        return ExitFailure;
    }

    std::optional<FrameRecorder> recorder;
    if (options.trace)
        recorder.emplace(context, record);
    const HidHandlePtr target = record.WriteHandle;
    const ApplyResult result =
        runApplyJob("apply-image", [&](const ProgressCallback& progress) {
            const PinnedWriteTarget pin(catalogue, target);
            return ImageWriteOut(catalogue, options.block, stop).run(image, progress);
        });

    if (recorder)
        recorder->print();
    if (!result.completed()) {
        std::fprintf(stderr, "varnixctl: apply failed: %s\n", result.detail.c_str());
        return ExitFailure;
    }
    if (result.refusedFrames > 0) {
        std::fprintf(stderr,
                     "varnixctl: the device refused %d frames; the image may be incomplete\n",
                     result.refusedFrames);
        return ExitFailure;
    }
    return ExitOk;
}

const CommandRegistration registration{
    "apply-image",
    {"--device INDEX --block 8|32 [--stop E] [--trace] FILE",
     "write an image of 'ADDR BYTE' hex lines to a device and activate it; --trace prints every "
     "feature report sent",
     runApplyImage}};

} // namespace
} // namespace varnix::cli
