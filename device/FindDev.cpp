// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/FindDev.h"

#include <algorithm>
#include <cctype>

namespace varnix {

FindDev::FindDev(HidBackend& backend, Clock& clock, SharedWriteHandle& writeTarget)
    : backend_(backend), clock_(clock), writeTarget_(writeTarget) {
    InstallBuiltInTable();
}

bool FindDev::OpenDevice(DeviceRecord& record) {
    const std::vector<HidInterfaceInfo> interfaces = backend_.enumerate();
    const std::size_t examined =
        std::min<std::size_t>(interfaces.size(), static_cast<std::size_t>(MaxInterfacesExamined));
    HidHandlePtr readHandle;
    HidHandlePtr writeHandle;
    HidCaps readCaps;
    std::string path;
    for (std::size_t i = 0; i < examined && !(readHandle && writeHandle); ++i) {
        const HidInterfaceInfo& info = interfaces[i];
        if (info.vendorId != static_cast<std::uint16_t>(record.Vid) ||
            info.productId != static_cast<std::uint16_t>(record.Pid))
            continue;
        if (record.DevCmpStr == 1 && info.productString != record.DevName)
            continue;
        path = info.path;
        if (info.usage != frame::VendorUsage)
            continue;
        if (info.usagePage == frame::ReadUsagePage && !readHandle) {
            readHandle = backend_.open(info.path, HidAccess::Read);
            readCaps = HidCaps{info.usagePage, info.usage};
        } else if (info.usagePage == frame::WriteUsagePage && !writeHandle) {
            writeHandle = backend_.open(info.path, HidAccess::Write);
        }
    }
    if (!readHandle || !writeHandle) {
        // A collection opened on the way is of no use without its partner.
        if (readHandle)
            readHandle->close();
        if (writeHandle)
            writeHandle->close();
        return false;
    }
    if (record.ReadHandle && record.ReadHandle != readHandle)
        record.ReadHandle->close();
    if (record.WriteHandle && record.WriteHandle != writeHandle)
        record.WriteHandle->close();
    std::transform(path.begin(), path.end(), path.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    record.Connected = 1;
    record.DevicePath = path;
    record.ReadHandle = readHandle;
    record.WriteHandle = writeHandle;
    record.Caps = readCaps;
    if (record.DevType != DevTypeMouse) {
        writeTarget_.set(record.WriteHandle);
        // Read from the new device itself, even while this object's frames are pinned elsewhere.
        record.BaseAddress = readBaseAddressFrom(record.WriteHandle);
    }
    return true;
}

void FindDev::pinWriteTarget(HidHandlePtr target) {
    std::lock_guard lock(pinMutex_);
    pinned_ = std::move(target);
}

void FindDev::unpinWriteTarget() {
    std::lock_guard lock(pinMutex_);
    pinned_.reset();
}

HidHandlePtr FindDev::currentTarget() const {
    {
        std::lock_guard lock(pinMutex_);
        if (pinned_)
            return *pinned_;
    }
    return writeTarget_.get();
}

void FindDev::sendReportBuffer() {
    ReportBuffer[frame::ReportIdByte] = frame::ReportId;
    HidHandlePtr target = currentTarget();
    if (!target)
        return; // no device selected: nothing to send to, and nothing lost
    switch (target->sendFeature(std::span<const std::uint8_t>(ReportBuffer.data(), frame::Size))) {
    case HidSendResult::Sent:
        break;
    case HidSendResult::Refused:
        ++refusedFrames_;
        break;
    case HidSendResult::Gone:
        targetVanished_ = true;
        break;
    }
}

void FindDev::resetSendStatus() {
    refusedFrames_ = 0;
    targetVanished_ = false;
}

void FindDev::SendFrame(const std::array<std::uint8_t, 7>& body) {
    std::copy(body.begin(), body.end(), ReportBuffer.begin() + 1);
    sendReportBuffer();
}

void FindDev::sendMemoryFrame(std::uint8_t operation, std::uint8_t index, int address,
                              std::uint8_t data, std::uint8_t lastIndex) {
    SendFrame({frame::MemoryCommand, operation, index, static_cast<std::uint8_t>(address & 0xFF),
               static_cast<std::uint8_t>((address >> 8) & 0xFF), data, lastIndex});
}

void FindDev::WriteBlock(int address, std::span<const std::uint8_t> data) {
    const int length = static_cast<int>(std::min<std::size_t>(data.size(), frame::MaxBlockLength));
    const auto lastIndex = static_cast<std::uint8_t>(length - 1);
    for (int i = 0; i < length; ++i)
        sendMemoryFrame(frame::OpStage, static_cast<std::uint8_t>(i), address,
                        data[static_cast<std::size_t>(i)], lastIndex);
    clock_.sleepMs(pause::BeforeCommit);
    sendMemoryFrame(frame::OpCommit, 0, address, 0, lastIndex);
    clock_.sleepMs(pause::AfterCommit);
    sendMemoryFrame(frame::OpEnd, 0, address, 0, 0);
}

void FindDev::ReadBlock(std::span<std::uint8_t, 8> out) {
    constexpr std::uint8_t lastIndex = 7;
    for (std::uint8_t i = 0; i < 8; ++i) {
        sendMemoryFrame(frame::OpStage, i, ReadBlockAddress, 0, lastIndex);
        clock_.sleepMs(pause::ReadStep);
    }
    clock_.sleepMs(pause::ReadStep);
    sendMemoryFrame(frame::OpEnd, 0, ReadBlockAddress, 0, 0);
    for (std::uint8_t i = 0; i < 8; ++i) {
        sendMemoryFrame(frame::OpFetch, i, ReadBlockAddress, 0, lastIndex);
        clock_.sleepMs(pause::ReadStep);
        // A failed read leaves the buffer as it was, so the caller sees the previous contents.
        ReportBuffer[frame::ReportIdByte] = frame::ReportId;
        if (HidHandlePtr target = currentTarget())
            target->getFeatureReport(std::span<std::uint8_t>(ReportBuffer.data(), frame::Size));
        out[i] = ReportBuffer[frame::FetchedByte];
    }
    clock_.sleepMs(pause::ReadStep);
    sendMemoryFrame(frame::OpEnd, 0, 0, 0, 0);
}

void FindDev::ActivateSettings() {
    sendMemoryFrame(frame::OpActivate, 0, 0, 0, 0);
    clock_.sleepMs(pause::AfterActivate);
    sendMemoryFrame(frame::OpEnd, 0, 0, 0, 0);
}

int FindDev::ReadBaseAddress() { return readBaseAddressFrom(currentTarget()); }

int FindDev::readBaseAddressFrom(const HidHandlePtr& target) {
    std::fill(ReportBuffer.begin() + 1, ReportBuffer.end(), 0);
    ReportBuffer[frame::ReportIdByte] = frame::ReportId;
    if (target)
        target->getFeatureReport(
            std::span<std::uint8_t>(ReportBuffer.data(), frame::BaseAddressReadSize));
    return ReportBuffer[frame::BaseAddressLowByte] + 256 * ReportBuffer[frame::BaseAddressHighByte];
}

bool FindDev::QueryProductInfo(std::string& name, int& pid, int& vid) {
    HidHandlePtr target = currentTarget();
    if (!target)
        return false;
    std::string product;
    if (!target->getProductString(product))
        return false;
    name = product;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    if (!target->getAttributes(vendorId, productId))
        return false;
    pid = productId;
    vid = vendorId;
    return true;
}

} // namespace varnix
