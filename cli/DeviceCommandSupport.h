// SPDX-License-Identifier: GPL-3.0-or-later
// What "image" and "apply" share: options, the catalogue row, the model folder, the frame trace
// and running a writer.
#pragma once

#include "cli/CliContext.h"
#include "common/Diagnostics.h"
#include "device/ApplyRunner.h"
#include "device/ApplyWriter.h"
#include "device/ModelFolder.h"
#include "device/SimulatedBackend.h"
#include "kinds/DeviceKind.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace varnix::cli {

struct DeviceKindOptions {
    int device = -1;
    bool trace = false;
};

// Parses "--device INDEX" and, when allowed, "--trace"; anything else is a usage error.
inline DeviceKindOptions parseDeviceKindOptions(const CommandArguments& arguments,
                                                const std::string& command, bool allowTrace) {
    DeviceKindOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--device") {
            if (i + 1 >= arguments.size())
                throw UsageError(command + ": --device needs a value");
            const std::string& text = arguments[++i];
            int index = -1;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), index);
            if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
                index < 0)
                throw UsageError(command + ": --device takes a catalogue index");
            options.device = index;
        } else if (argument == "--trace" && allowTrace) {
            options.trace = true;
        } else {
            throw UsageError(command + ": unknown argument " + argument);
        }
    }
    if (options.device < 0)
        throw UsageError(command + " needs --device INDEX");
    return options;
}

// The catalogue row of an index that must be of the given device type.
inline DeviceRecord& deviceRecordOf(CliContext& context, int index, std::int32_t devType,
                                    const std::string& command) {
    FindDev& catalogue = context.catalogue();
    if (static_cast<std::size_t>(index) >= catalogue.DeviceList.size())
        throw UsageError(formatText("%s: no device with index %d (the catalogue has %zu rows)",
                                    command.c_str(), index, catalogue.DeviceList.size()));
    DeviceRecord& record = catalogue.DeviceList[static_cast<std::size_t>(index)];
    if (devType != 0 && record.DevType != devType)
        throw UsageError(formatText("%s: device %d (%s) is a %s", command.c_str(), index,
                                    record.DevName.c_str(), record.DevTypeString.c_str()));
    return record;
}

inline std::filesystem::path modelFolderOf(CliContext& context, const DeviceRecord& record) {
    const std::filesystem::path folder =
        modelResourceFolder(context.resolvedResourceRoot(), record.DevType, record.DevFolder);
    if (folder.empty())
        throw UsageError("device " + record.DevName + " has no usable model folder");
    return folder;
}

// A handle that notes every feature report on its way to the real device.
class TracingWriteHandle final : public HidHandle {
public:
    explicit TracingWriteHandle(HidHandlePtr inner) : inner_(std::move(inner)) {}
    bool sendFeatureReport(std::span<const std::uint8_t> report) override {
        return sendFeature(report) == HidSendResult::Sent;
    }
    HidSendResult sendFeature(std::span<const std::uint8_t> report) override {
        {
            std::lock_guard lock(mutex_);
            sent_.emplace_back(report.begin(), report.end());
        }
        return inner_->sendFeature(report);
    }
    int getFeatureReport(std::span<std::uint8_t> report) override {
        return inner_->getFeatureReport(report);
    }
    int readInputReport(std::span<std::uint8_t> report, int timeoutMs) override {
        return inner_->readInputReport(report, timeoutMs);
    }
    bool getProductString(std::string& product) override {
        return inner_->getProductString(product);
    }
    bool getAttributes(std::uint16_t& vendorId, std::uint16_t& productId) override {
        return inner_->getAttributes(vendorId, productId);
    }
    void close() override { inner_->close(); }
    bool isOpen() const override { return inner_->isOpen(); }
    std::vector<std::vector<std::uint8_t>> sent() const {
        std::lock_guard lock(mutex_);
        return sent_;
    }

private:
    HidHandlePtr inner_;
    mutable std::mutex mutex_;
    std::vector<std::vector<std::uint8_t>> sent_;
};

// Collects the feature reports sent to one record while it lives: from the simulated device's
// log, or through a tracing handle put in place of the record's write handle (and taken out
// again at the end).
class FrameRecorder {
public:
    FrameRecorder(CliContext& context, DeviceRecord& record) : record_(record) {
        simulated_ = dynamic_cast<SimulatedBackend*>(&context.backend());
        if (simulated_) {
            for (int i = 0; i < simulated_->deviceCount(); ++i)
                if (upper(simulated_->readPath(i)) == record.DevicePath ||
                    upper(simulated_->writePath(i)) == record.DevicePath)
                    simulatedDevice_ = i;
        }
        if (simulatedDevice_) {
            simulated_->clearFrames();
        } else if (record.WriteHandle) {
            original_ = record.WriteHandle;
            tracer_ = std::make_shared<TracingWriteHandle>(original_);
            record.WriteHandle = tracer_;
        }
    }
    ~FrameRecorder() {
        if (tracer_)
            record_.WriteHandle = original_;
    }
    FrameRecorder(const FrameRecorder&) = delete;
    FrameRecorder& operator=(const FrameRecorder&) = delete;

    std::vector<std::vector<std::uint8_t>> frames() const {
        if (tracer_)
            return tracer_->sent();
        std::vector<std::vector<std::uint8_t>> reports;
        if (simulatedDevice_)
            for (const SimulatedFrame& frame : simulated_->sentFrames(*simulatedDevice_))
                reports.push_back(frame.bytes);
        return reports;
    }

    // One line per report: 8 upper-case hex bytes separated by single spaces.
    void print() const {
        std::string out;
        for (const std::vector<std::uint8_t>& report : frames()) {
            for (std::size_t i = 0; i < report.size(); ++i)
                out += formatText(i == 0 ? "%02X" : " %02X", report[i]);
            out += '\n';
        }
        std::fputs(out.c_str(), stdout);
    }

private:
    static std::string upper(std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        return text;
    }

    DeviceRecord& record_;
    SimulatedBackend* simulated_ = nullptr;
    std::optional<int> simulatedDevice_;
    HidHandlePtr original_;
    std::shared_ptr<TracingWriteHandle> tracer_;
};

// An apply needs the device before anything is built: false, with a line on stderr, without it.
inline bool reportUnconnected(const std::string& command, const DeviceRecord& record) {
    if (record.Connected && record.WriteHandle)
        return false;
    std::fprintf(stderr, "varnixctl: %s: device %s is not connected\n", command.c_str(),
                 record.DevName.c_str());
    return true;
}

// Prints a failed or incomplete apply on stderr and gives the exit status.
inline int applyExitStatus(const std::string& what, const ApplyResult& result) {
    if (!result.completed()) {
        std::fprintf(stderr, "varnixctl: %s: apply failed: %s\n", what.c_str(),
                     result.detail.c_str());
        return ExitFailure;
    }
    if (result.refusedFrames > 0) {
        std::fprintf(stderr, "varnixctl: %s: the device refused %d frames\n", what.c_str(),
                     result.refusedFrames);
        return ExitFailure;
    }
    return ExitOk;
}

// Runs an apply on the apply worker. A long write shows its progress on a terminal; scripts
// reading stderr get no progress lines.
inline ApplyResult runApplyJob(const char* label, ApplyRunner::Job job) {
    const bool showProgress = ::isatty(STDERR_FILENO) != 0;
    ApplyRunner runner(systemClock(), 0);
    runner.start(std::move(job), [showProgress, label](int percent) {
        if (showProgress)
            std::fprintf(stderr, "\r%s: %3d %%", label, percent);
    });
    const ApplyResult result = runner.wait();
    if (showProgress)
        std::fputc('\n', stderr);
    return result;
}

// Runs a writer on the apply worker with the record as its target.
inline ApplyResult runWriterOn(DeviceRecord& record, ApplyWriter& writer) {
    if (!record.Connected || !record.WriteHandle)
        return ApplyResult::failed(Status::Failed,
                                   "device " + record.DevName + " is not connected");
    writer.setTarget(record.WriteHandle);
    return runApplyJob(
        "apply", [&writer](const ProgressCallback& progress) { return writer.write(progress); });
}

// A kind's saved model of a catalogue row; warnings about the image go to stderr.
inline KindModel kindModelOf(CliContext& context, const DeviceRecord& record) {
    KindModel model;
    model.resourceRoot = context.resolvedResourceRoot();
    model.modelFolder = modelFolderOf(context, record);
    model.warn = [](const std::string& warning) {
        std::fprintf(stderr, "varnixctl: %s\n", warning.c_str());
    };
    return model;
}

// A model file that cannot be read is a usage error; other refusals are failures.
inline bool unreadableModel(const Outcome& outcome) {
    return outcome.status == Status::Invalid || outcome.status == Status::Missing;
}

// "mouse, keyboard, pad".
inline std::string deviceKindNames() {
    std::string names;
    for (const DeviceKind& kind : deviceKinds())
        names += (names.empty() ? "" : ", ") + std::string(kind.name);
    return names;
}

} // namespace varnix::cli
