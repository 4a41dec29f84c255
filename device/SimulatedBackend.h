// SPDX-License-Identifier: GPL-3.0-or-later
// A HID backend of virtual devices that speak the memory protocol, for tests and demos.
#pragma once

#include "common/Clock.h"
#include "device/HidBackend.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace varnix {

struct VirtualDeviceSetup {
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    std::string product;
    int baseAddress = 0;
    int memorySize = 16384;
    bool plugged = true;
    bool writeFirst = false; // enumerate the write collection before the read collection
};

class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses a scenario {"devices": [...]}; throws ScenarioError with a readable message.
std::vector<VirtualDeviceSetup> parseScenario(const std::string& json);
std::vector<VirtualDeviceSetup> loadScenarioFile(const std::filesystem::path& file);

enum class FrameKind { SetFeature, GetFeature };

// One exchange on a device's write collection, as the device log keeps it.
struct SimulatedFrame {
    std::uint64_t timeMs = 0;
    int device = 0;
    FrameKind kind = FrameKind::SetFeature;
    std::vector<std::uint8_t> bytes; // as sent, or as answered
    bool accepted = true;
};

// What a device does with a frame it receives: the fault hook decides.
enum class FrameFate {
    Accept, // processed and acknowledged
    Refuse, // the send fails and the device ignores it
    Drop,   // the send succeeds but the device ignores it
    Vanish, // the device is pulled out before the frame arrives
};

class SimulatedBackend final : public HidBackend {
public:
    explicit SimulatedBackend(std::vector<VirtualDeviceSetup> devices,
                              Clock& clock = systemClock());
    ~SimulatedBackend() override;

    std::vector<HidInterfaceInfo> enumerate() override;
    HidHandlePtr open(const std::string& path, HidAccess access) override;

    int deviceCount() const;
    // Interface paths of a device's read and write collections.
    std::string readPath(int device) const;
    std::string writePath(int device) const;

    void plug(int device);
    void unplug(int device);
    bool isPlugged(int device) const;
    // Called after plug and unplug with the device's interface paths and true for arrival.
    using PlugObserver = std::function<void(int device, const std::string& path, bool arrived)>;
    void setPlugObserver(PlugObserver observer);

    // Queues an input report on the device's read collection.
    void injectInputReport(int device, std::vector<std::uint8_t> report);
    // Decides the fate of each later set-feature frame of a device (null: accept all).
    void setFaultHook(int device, std::function<FrameFate(const std::vector<std::uint8_t>&)> hook);

    std::vector<std::uint8_t> memory(int device) const;
    void setMemory(int device, int address, std::vector<std::uint8_t> bytes);
    int activationCount(int device) const;
    std::vector<SimulatedFrame> frames() const;
    // Set-feature frames of one device only, accepted or not.
    std::vector<SimulatedFrame> sentFrames(int device) const;
    void clearFrames();

private:
    class Handle;
    struct Device;

    HidSendResult sendFeature(int device, std::uint64_t generation,
                              std::span<const std::uint8_t> report);
    int getFeature(int device, std::uint64_t generation, std::span<std::uint8_t> report);
    int readInput(int device, std::uint64_t generation, std::span<std::uint8_t> report,
                  int timeoutMs);
    bool alive(int device, std::uint64_t generation) const;
    void applyMemoryCommand(Device& device, std::span<const std::uint8_t> report);
    void unplugLocked(int device);

    Clock& clock_;
    mutable std::mutex mutex_;
    std::condition_variable inputArrived_;
    std::vector<Device> devices_;
    std::vector<SimulatedFrame> log_;
    PlugObserver observer_;
};

} // namespace varnix
