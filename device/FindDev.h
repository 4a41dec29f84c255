// SPDX-License-Identifier: GPL-3.0-or-later
// Device access: the model catalogue, device opening and the feature-frame operations.
#pragma once

#include "common/Clock.h"
#include "device/DeviceRecord.h"
#include "device/HidBackend.h"
#include "device/SharedWriteHandle.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace varnix {

// Layout of the 8-byte feature frame (report id 7) and of the memory command.
namespace frame {
inline constexpr std::size_t Size = 8;
inline constexpr std::uint8_t ReportId = 0x07;
inline constexpr std::size_t ReportIdByte = 0;
inline constexpr std::size_t CommandByte = 1;
inline constexpr std::uint8_t MemoryCommand = 0x18;
// Memory command fields.
inline constexpr std::size_t OperationByte = 2;
inline constexpr std::size_t IndexByte = 3;
inline constexpr std::size_t AddressLowByte = 4;
inline constexpr std::size_t AddressHighByte = 5;
inline constexpr std::size_t DataByte = 6;
inline constexpr std::size_t LastIndexByte = 7;
// Reply to a fetch: the byte read sits here in the 8-byte feature read.
inline constexpr std::size_t FetchedByte = 1;
// Memory command operations.
inline constexpr std::uint8_t OpEnd = 0x00;
inline constexpr std::uint8_t OpStage = 0x03;
inline constexpr std::uint8_t OpFetch = 0x05;
inline constexpr std::uint8_t OpCommit = 0x09;
inline constexpr std::uint8_t OpActivate = 0x10;
// The longest block one commit stores.
inline constexpr int MaxBlockLength = 32;
// The 16-byte feature read carrying the base address (little endian) in bytes 14 and 15.
inline constexpr std::size_t BaseAddressReadSize = 16;
inline constexpr std::size_t BaseAddressLowByte = 14;
inline constexpr std::size_t BaseAddressHighByte = 15;
// The vendor collections: input reports arrive on the first, frames go to the second.
inline constexpr std::uint16_t ReadUsagePage = 0xFF00;
inline constexpr std::uint16_t WriteUsagePage = 0xFF01;
inline constexpr std::uint16_t VendorUsage = 1;
} // namespace frame

// Pauses of the memory protocol, in milliseconds.
namespace pause {
inline constexpr int BeforeCommit = 2;
inline constexpr int AfterCommit = 8;
inline constexpr int AfterActivate = 5;
inline constexpr int ReadStep = 2;
} // namespace pause

// Address ReadBlock reads 8 bytes from.
inline constexpr int ReadBlockAddress = 0x0018;

// How many interfaces OpenDevice examines at most.
inline constexpr int MaxInterfacesExamined = 100;

// Entries of the catalogue archive larger than this are refused.
inline constexpr std::uint64_t MaxCatalogueEntrySize = 16u * 1024u * 1024u;

class FindDev {
public:
    explicit FindDev(HidBackend& backend, Clock& clock = systemClock(),
                     SharedWriteHandle& writeTarget = CurrentWriteHandle());
    virtual ~FindDev() = default;

    FindDev(const FindDev&) = delete;
    FindDev& operator=(const FindDev&) = delete;

    // --- catalogue ---
    std::vector<DeviceRecord> DeviceList;
    std::vector<std::string> TypeNames;

    // Replaces both lists with the built-in table.
    void InstallBuiltInTable();
    // Unpacks res/Home/Icons/Ndevice.zip and reads Ndevice.json from it; keeps the current lists
    // when the archive or the file cannot be used. Does not open devices.
    void LoadCatalogue(const std::filesystem::path& resourceRoot);
    // Reads a catalogue file into the lists; on any error reports it and keeps the lists.
    bool ReadCatalogueFile(const std::filesystem::path& file);
    // Opens every record that names a real product; sets Connected from the result.
    void OpenCatalogueDevices();
    // Appends a type name unless an equal one is already listed.
    static void AddTypeName(std::vector<std::string>& typeNames, const std::string& name);

    // --- transport ---
    std::array<std::uint8_t, 256> ReportBuffer{};

    bool OpenDevice(DeviceRecord& record);
    void WriteBlock(int address, std::span<const std::uint8_t> data);
    void ReadBlock(std::span<std::uint8_t, 8> out);
    void ActivateSettings();
    int ReadBaseAddress();
    bool QueryProductInfo(std::string& name, int& pid, int& vid);
    // Sends one 8-byte frame: report id 7 followed by the seven given bytes.
    void SendFrame(const std::array<std::uint8_t, 7>& body);

    // What became of the frames sent since the last resetSendStatus(). The frame operations
    // themselves ignore failures; the apply engine asks here to stop when the device is gone.
    int refusedFrames() const { return refusedFrames_.load(); }
    bool targetVanished() const { return targetVanished_.load(); }
    void resetSendStatus();

    HidBackend& backend() { return backend_; }
    Clock& clock() { return clock_; }
    SharedWriteHandle& writeTarget() { return writeTarget_; }

    // While pinned, every frame, read and query of this object goes to `target` (none: nowhere),
    // whatever the process-wide target becomes meanwhile: a keyboard or pad opened during an
    // apply takes the process-wide target, and the apply must stay with its own device.
    void pinWriteTarget(HidHandlePtr target);
    void unpinWriteTarget();
    // The handle the next frame goes to: the pinned one, else the process-wide target.
    HidHandlePtr currentTarget() const;

private:
    void sendMemoryFrame(std::uint8_t operation, std::uint8_t index, int address,
                         std::uint8_t data, std::uint8_t lastIndex);
    void sendReportBuffer();
    int readBaseAddressFrom(const HidHandlePtr& target);

    HidBackend& backend_;
    Clock& clock_;
    SharedWriteHandle& writeTarget_;
    std::atomic<int> refusedFrames_{0};
    std::atomic<bool> targetVanished_{false};
    mutable std::mutex pinMutex_; // guards pinned_
    std::optional<HidHandlePtr> pinned_;
};

// Pins a device object's frames to one target for its lifetime.
class PinnedWriteTarget {
public:
    PinnedWriteTarget(FindDev& device, HidHandlePtr target) : device_(device) {
        device_.pinWriteTarget(std::move(target));
    }
    ~PinnedWriteTarget() { device_.unpinWriteTarget(); }
    PinnedWriteTarget(const PinnedWriteTarget&) = delete;
    PinnedWriteTarget& operator=(const PinnedWriteTarget&) = delete;

private:
    FindDev& device_;
};

} // namespace varnix
