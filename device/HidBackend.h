// SPDX-License-Identifier: GPL-3.0-or-later
// The HID seam: enumeration of interfaces and the handles feature and input reports go through.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace varnix {

// One HID top-level collection as the system lists it.
struct HidInterfaceInfo {
    std::string path;          // interface path used to open it
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string productString; // UTF-8
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
};

enum class HidAccess { Read, Write };

// What became of one feature report: sent, refused by a device that is still there, or lost
// because the device is gone (pulled out, or the handle closed).
enum class HidSendResult { Sent, Refused, Gone };

// An open collection. Every call is safe from any thread and after close(), when it fails
// without touching the device; a closed handle answers false or -1.
class HidHandle {
public:
    virtual ~HidHandle() = default;
    // Sends one feature report; byte 0 is the report id.
    virtual bool sendFeatureReport(std::span<const std::uint8_t> report) = 0;
    // Sends one feature report and says why it failed. Backends that can tell a removed device
    // from a refusal override it; this fallback counts a failure on a closed handle as gone.
    virtual HidSendResult sendFeature(std::span<const std::uint8_t> report) {
        if (sendFeatureReport(report))
            return HidSendResult::Sent;
        return isOpen() ? HidSendResult::Refused : HidSendResult::Gone;
    }
    // Reads a feature report; report[0] holds the report id on entry. Returns the byte count or -1.
    virtual int getFeatureReport(std::span<std::uint8_t> report) = 0;
    // Waits up to timeoutMs for an input report. Returns the byte count, 0 on time-out, -1 on error.
    virtual int readInputReport(std::span<std::uint8_t> report, int timeoutMs) = 0;
    virtual bool getProductString(std::string& product) = 0;
    virtual bool getAttributes(std::uint16_t& vendorId, std::uint16_t& productId) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

using HidHandlePtr = std::shared_ptr<HidHandle>;

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // Present interfaces in the system's order.
    virtual std::vector<HidInterfaceInfo> enumerate() = 0;
    // Opens an interface path; null when it cannot be opened.
    virtual HidHandlePtr open(const std::string& path, HidAccess access) = 0;
};

} // namespace varnix
