// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/SimulatedBackend.h"

#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "common/JsonRead.h"
#include "device/FindDev.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <nlohmann/json.hpp>

namespace varnix {

struct SimulatedBackend::Device {
    VirtualDeviceSetup setup;
    std::vector<std::uint8_t> memory;
    // Handles opened before the latest unplug belong to an older generation and are dead.
    std::uint64_t generation = 1;
    int activations = 0;
    // Block being staged: its address and the bytes placed so far.
    int stagedAddress = -1;
    std::array<std::uint8_t, frame::MaxBlockLength> staged{};
    std::array<bool, frame::MaxBlockLength> stagedSet{};
    std::uint8_t fetched = 0;
    std::deque<std::vector<std::uint8_t>> inputReports;
    std::function<FrameFate(const std::vector<std::uint8_t>&)> faultHook;
};

class SimulatedBackend::Handle final : public HidHandle {
public:
    Handle(SimulatedBackend& backend, int device, std::uint64_t generation, HidAccess access)
        : backend_(backend), device_(device), generation_(generation), access_(access) {}

    bool sendFeatureReport(std::span<const std::uint8_t> report) override {
        return sendFeature(report) == HidSendResult::Sent;
    }
    HidSendResult sendFeature(std::span<const std::uint8_t> report) override {
        if (!isOpen())
            return HidSendResult::Gone;
        return backend_.sendFeature(device_, generation_, report);
    }
    int getFeatureReport(std::span<std::uint8_t> report) override {
        return isOpen() ? backend_.getFeature(device_, generation_, report) : -1;
    }
    int readInputReport(std::span<std::uint8_t> report, int timeoutMs) override {
        if (!isOpen() || access_ != HidAccess::Read)
            return -1;
        return backend_.readInput(device_, generation_, report, timeoutMs);
    }
    bool getProductString(std::string& product) override {
        if (!isOpen() || !backend_.alive(device_, generation_))
            return false;
        std::lock_guard lock(backend_.mutex_);
        product = backend_.devices_[static_cast<std::size_t>(device_)].setup.product;
        return true;
    }
    bool getAttributes(std::uint16_t& vendorId, std::uint16_t& productId) override {
        if (!isOpen() || !backend_.alive(device_, generation_))
            return false;
        std::lock_guard lock(backend_.mutex_);
        const VirtualDeviceSetup& setup =
            backend_.devices_[static_cast<std::size_t>(device_)].setup;
        vendorId = setup.vid;
        productId = setup.pid;
        return true;
    }
    void close() override {
        std::lock_guard lock(backend_.mutex_);
        open_ = false;
        backend_.inputArrived_.notify_all();
    }
    bool isOpen() const override {
        std::lock_guard lock(backend_.mutex_);
        return open_;
    }

private:
    friend class SimulatedBackend;
    SimulatedBackend& backend_;
    int device_;
    std::uint64_t generation_;
    HidAccess access_;
    bool open_ = true; // guarded by the backend's mutex
};

namespace {

// Interface path of one collection, shaped like the system's "\\?\hid#vid_..&pid_..#..." names.
std::string collectionPath(const VirtualDeviceSetup& setup, int device, int collection) {
    return formatText("\\\\?\\hid#vid_%04x&pid_%04x&mi_%02d#sim%d", setup.vid, setup.pid,
                      collection, device);
}

std::vector<VirtualDeviceSetup> parseScenarioDocument(const nlohmann::json& document) {
    if (!document.is_object())
        throw ScenarioError("the scenario must be a JSON object");
    for (const auto& [key, value] : document.items())
        if (key != "devices")
            throw ScenarioError("unknown key \"" + key + "\" in the scenario");
    const auto devices = document.find("devices");
    if (devices == document.end() || !devices->is_array())
        throw ScenarioError("the scenario needs a \"devices\" array");
    std::vector<VirtualDeviceSetup> setups;
    for (const nlohmann::json& entry : *devices) {
        const std::string where = "device " + std::to_string(setups.size());
        if (!entry.is_object())
            throw ScenarioError(where + " is not an object");
        VirtualDeviceSetup setup;
        bool hasVid = false;
        bool hasPid = false;
        for (const auto& [key, value] : entry.items()) {
            auto number = [&](int low, int high) {
                if (!value.is_number_integer())
                    throw ScenarioError(where + ": \"" + key + "\" must be an integer");
                const auto n = value.get<std::int64_t>();
                if (n < low || n > high)
                    throw ScenarioError(where + ": \"" + key + "\" must be between " +
                                        std::to_string(low) + " and " + std::to_string(high));
                return static_cast<int>(n);
            };
            auto flag = [&]() {
                if (!value.is_boolean())
                    throw ScenarioError(where + ": \"" + key + "\" must be true or false");
                return value.get<bool>();
            };
            if (key == "vid") {
                setup.vid = static_cast<std::uint16_t>(number(0, 0xFFFF));
                hasVid = true;
            } else if (key == "pid") {
                setup.pid = static_cast<std::uint16_t>(number(0, 0xFFFF));
                hasPid = true;
            } else if (key == "product") {
                if (!value.is_string())
                    throw ScenarioError(where + ": \"product\" must be a string");
                setup.product = value.get<std::string>();
            } else if (key == "base_address") {
                setup.baseAddress = number(0, 0xFFFF);
            } else if (key == "memory_size") {
                setup.memorySize = number(1, 0x10000);
            } else if (key == "plugged") {
                setup.plugged = flag();
            } else if (key == "write_first") {
                setup.writeFirst = flag();
            } else {
                throw ScenarioError(where + ": unknown key \"" + key + "\"");
            }
        }
        if (!hasVid || !hasPid)
            throw ScenarioError(where + " needs \"vid\" and \"pid\"");
        setups.push_back(std::move(setup));
    }
    return setups;
}

} // namespace

std::vector<VirtualDeviceSetup> parseScenario(const std::string& json) {
    nlohmann::json document;
    try {
        document = parseJson(json);
    } catch (const nlohmann::json::exception& error) {
        throw ScenarioError(std::string("not valid JSON: ") + error.what());
    }
    return parseScenarioDocument(document);
}

std::vector<VirtualDeviceSetup> loadScenarioFile(const std::filesystem::path& file) {
    const std::optional<std::string> bytes = readWholeFile(file);
    if (!bytes)
        throw ScenarioError("cannot read scenario file " + file.string());
    try {
        return parseScenario(*bytes);
    } catch (const ScenarioError& error) {
        throw ScenarioError(file.string() + ": " + error.what());
    }
}

SimulatedBackend::SimulatedBackend(std::vector<VirtualDeviceSetup> devices, Clock& clock)
    : clock_(clock) {
    for (VirtualDeviceSetup& setup : devices) {
        Device device;
        device.memory.assign(static_cast<std::size_t>(setup.memorySize), 0);
        device.setup = std::move(setup);
        devices_.push_back(std::move(device));
    }
}

SimulatedBackend::~SimulatedBackend() = default;

int SimulatedBackend::deviceCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(devices_.size());
}

std::string SimulatedBackend::readPath(int device) const {
    std::lock_guard lock(mutex_);
    return collectionPath(devices_.at(static_cast<std::size_t>(device)).setup, device, 0);
}

std::string SimulatedBackend::writePath(int device) const {
    std::lock_guard lock(mutex_);
    return collectionPath(devices_.at(static_cast<std::size_t>(device)).setup, device, 1);
}

std::vector<HidInterfaceInfo> SimulatedBackend::enumerate() {
    std::vector<HidInterfaceInfo> interfaces;
    const int count = deviceCount();
    for (int i = 0; i < count; ++i) {
        if (!isPlugged(i))
            continue;
        VirtualDeviceSetup setup;
        {
            std::lock_guard lock(mutex_);
            setup = devices_[static_cast<std::size_t>(i)].setup;
        }
        HidInterfaceInfo read{readPath(i),          setup.vid,         setup.pid, setup.product,
                              frame::ReadUsagePage, frame::VendorUsage};
        HidInterfaceInfo write{writePath(i),          setup.vid,         setup.pid, setup.product,
                               frame::WriteUsagePage, frame::VendorUsage};
        if (setup.writeFirst)
            std::swap(read, write);
        interfaces.push_back(std::move(read));
        interfaces.push_back(std::move(write));
    }
    return interfaces;
}

HidHandlePtr SimulatedBackend::open(const std::string& path, HidAccess access) {
    const int count = deviceCount();
    for (int i = 0; i < count; ++i) {
        if (path != readPath(i) && path != writePath(i))
            continue;
        std::lock_guard lock(mutex_);
        Device& device = devices_[static_cast<std::size_t>(i)];
        if (!device.setup.plugged)
            return nullptr;
        return std::make_shared<Handle>(*this, i, device.generation, access);
    }
    return nullptr;
}

bool SimulatedBackend::alive(int device, std::uint64_t generation) const {
    std::lock_guard lock(mutex_);
    const Device& d = devices_[static_cast<std::size_t>(device)];
    return d.setup.plugged && d.generation == generation;
}

void SimulatedBackend::applyMemoryCommand(Device& device, std::span<const std::uint8_t> report) {
    if (report.size() < frame::Size || report[frame::CommandByte] != frame::MemoryCommand)
        return; // lighting and other commands are only logged
    const int address = report[frame::AddressLowByte] | (report[frame::AddressHighByte] << 8);
    const std::size_t index = report[frame::IndexByte] % frame::MaxBlockLength;
    switch (report[frame::OperationByte]) {
    case frame::OpStage:
        if (device.stagedAddress != address) {
            device.stagedAddress = address;
            device.stagedSet.fill(false);
        }
        device.staged[index] = report[frame::DataByte];
        device.stagedSet[index] = true;
        break;
    case frame::OpCommit:
        if (device.stagedAddress == address) {
            const std::size_t last = report[frame::LastIndexByte] % frame::MaxBlockLength;
            for (std::size_t i = 0; i <= last; ++i) {
                const std::size_t target = static_cast<std::size_t>(address) + i;
                if (device.stagedSet[i] && target < device.memory.size())
                    device.memory[target] = device.staged[i];
            }
        }
        break;
    case frame::OpFetch: {
        const std::size_t target = static_cast<std::size_t>(address) + index;
        device.fetched = target < device.memory.size() ? device.memory[target] : 0;
        break;
    }
    case frame::OpActivate:
        ++device.activations;
        break;
    case frame::OpEnd:
        device.stagedAddress = -1;
        device.stagedSet.fill(false);
        break;
    default:
        break;
    }
}

HidSendResult SimulatedBackend::sendFeature(int device, std::uint64_t generation,
                                            std::span<const std::uint8_t> report) {
    std::unique_lock lock(mutex_);
    Device& d = devices_[static_cast<std::size_t>(device)];
    if (!d.setup.plugged || d.generation != generation)
        return HidSendResult::Gone;
    std::vector<std::uint8_t> bytes(report.begin(), report.end());
    FrameFate fate = FrameFate::Accept;
    if (d.faultHook)
        fate = d.faultHook(bytes);
    if (fate == FrameFate::Vanish) {
        unplugLocked(device);
        PlugObserver observer = observer_;
        const std::string path = collectionPath(d.setup, device, 1);
        lock.unlock();
        if (observer)
            observer(device, path, false);
        return HidSendResult::Gone;
    }
    log_.push_back(
        {clock_.nowMs(), device, FrameKind::SetFeature, bytes, fate != FrameFate::Refuse});
    if (fate == FrameFate::Accept)
        applyMemoryCommand(d, report);
    return fate == FrameFate::Refuse ? HidSendResult::Refused : HidSendResult::Sent;
}

int SimulatedBackend::getFeature(int device, std::uint64_t generation,
                                 std::span<std::uint8_t> report) {
    std::lock_guard lock(mutex_);
    Device& d = devices_[static_cast<std::size_t>(device)];
    if (!d.setup.plugged || d.generation != generation || report.empty())
        return -1;
    std::fill(report.begin() + 1, report.end(), 0);
    if (report.size() >= frame::BaseAddressReadSize) {
        report[frame::BaseAddressLowByte] = static_cast<std::uint8_t>(d.setup.baseAddress & 0xFF);
        report[frame::BaseAddressHighByte] = static_cast<std::uint8_t>(d.setup.baseAddress >> 8);
    } else if (report.size() > frame::FetchedByte) {
        report[frame::FetchedByte] = d.fetched;
    }
    log_.push_back({clock_.nowMs(), device, FrameKind::GetFeature,
                    std::vector<std::uint8_t>(report.begin(), report.end()), true});
    return static_cast<int>(report.size());
}

int SimulatedBackend::readInput(int device, std::uint64_t generation,
                                std::span<std::uint8_t> report, int timeoutMs) {
    std::unique_lock lock(mutex_);
    Device& d = devices_[static_cast<std::size_t>(device)];
    auto ready = [&] {
        return !d.setup.plugged || d.generation != generation || !d.inputReports.empty();
    };
    inputArrived_.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)), ready);
    if (!d.setup.plugged || d.generation != generation)
        return -1;
    if (d.inputReports.empty())
        return 0;
    std::vector<std::uint8_t> next = std::move(d.inputReports.front());
    d.inputReports.pop_front();
    const std::size_t n = std::min(next.size(), report.size());
    std::copy_n(next.begin(), n, report.begin());
    return static_cast<int>(n);
}

void SimulatedBackend::plug(int device) {
    PlugObserver observer;
    {
        std::lock_guard lock(mutex_);
        Device& d = devices_.at(static_cast<std::size_t>(device));
        if (d.setup.plugged)
            return;
        d.setup.plugged = true;
        observer = observer_;
    }
    if (observer) {
        observer(device, readPath(device), true);
        observer(device, writePath(device), true);
    }
}

void SimulatedBackend::unplugLocked(int device) {
    Device& d = devices_.at(static_cast<std::size_t>(device));
    d.setup.plugged = false;
    ++d.generation;
    d.inputReports.clear();
    d.stagedAddress = -1;
    inputArrived_.notify_all();
}

void SimulatedBackend::unplug(int device) {
    PlugObserver observer;
    {
        std::lock_guard lock(mutex_);
        if (!devices_.at(static_cast<std::size_t>(device)).setup.plugged)
            return;
        unplugLocked(device);
        observer = observer_;
    }
    if (observer) {
        observer(device, readPath(device), false);
        observer(device, writePath(device), false);
    }
}

bool SimulatedBackend::isPlugged(int device) const {
    std::lock_guard lock(mutex_);
    return devices_.at(static_cast<std::size_t>(device)).setup.plugged;
}

void SimulatedBackend::setPlugObserver(PlugObserver observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

void SimulatedBackend::injectInputReport(int device, std::vector<std::uint8_t> report) {
    std::lock_guard lock(mutex_);
    Device& d = devices_.at(static_cast<std::size_t>(device));
    if (!d.setup.plugged)
        return;
    d.inputReports.push_back(std::move(report));
    inputArrived_.notify_all();
}

void SimulatedBackend::setFaultHook(
    int device, std::function<FrameFate(const std::vector<std::uint8_t>&)> hook) {
    std::lock_guard lock(mutex_);
    devices_.at(static_cast<std::size_t>(device)).faultHook = std::move(hook);
}

std::vector<std::uint8_t> SimulatedBackend::memory(int device) const {
    std::lock_guard lock(mutex_);
    return devices_.at(static_cast<std::size_t>(device)).memory;
}

void SimulatedBackend::setMemory(int device, int address, std::vector<std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    std::vector<std::uint8_t>& memory = devices_.at(static_cast<std::size_t>(device)).memory;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (static_cast<std::size_t>(address) + i < memory.size())
            memory[static_cast<std::size_t>(address) + i] = bytes[i];
}

int SimulatedBackend::activationCount(int device) const {
    std::lock_guard lock(mutex_);
    return devices_.at(static_cast<std::size_t>(device)).activations;
}

std::vector<SimulatedFrame> SimulatedBackend::frames() const {
    std::lock_guard lock(mutex_);
    return log_;
}

std::vector<SimulatedFrame> SimulatedBackend::sentFrames(int device) const {
    std::lock_guard lock(mutex_);
    std::vector<SimulatedFrame> sent;
    for (const SimulatedFrame& f : log_)
        if (f.device == device && f.kind == FrameKind::SetFeature)
            sent.push_back(f);
    return sent;
}

void SimulatedBackend::clearFrames() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

} // namespace varnix
