// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/HidapiBackend.h"

#include <hidapi/hidapi.h>

#include <array>
#include <cerrno>
#include <mutex>
#include <sys/stat.h>

namespace varnix {
namespace {

// hidapi hands out wide strings (UTF-32 on Linux); the core works in UTF-8.
std::string toUtf8(const wchar_t* text) {
    std::string out;
    if (!text)
        return out;
    for (; *text; ++text) {
        auto c = static_cast<char32_t>(*text);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x110000) {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

class HidapiHandle final : public HidHandle {
public:
    HidapiHandle(hid_device* device, std::string path) : device_(device), path_(std::move(path)) {}
    ~HidapiHandle() override { close(); }

    bool sendFeatureReport(std::span<const std::uint8_t> report) override {
        return sendFeature(report) == HidSendResult::Sent;
    }
    HidSendResult sendFeature(std::span<const std::uint8_t> report) override {
        std::lock_guard lock(mutex_);
        if (!device_)
            return HidSendResult::Gone;
        errno = 0;
        if (hid_send_feature_report(device_, report.data(), report.size()) >= 0)
            return HidSendResult::Sent;
        // hidraw answers ENODEV once the device is unplugged (EIO while the USB core tears it
        // down); a vanished node tells the same. Anything else is the device saying no.
        const int error = errno;
        if (error == ENODEV || error == EIO || error == ENXIO || error == ESHUTDOWN)
            return HidSendResult::Gone;
        struct stat node {};
        if (!path_.empty() && ::stat(path_.c_str(), &node) != 0 && errno == ENOENT)
            return HidSendResult::Gone;
        return HidSendResult::Refused;
    }
    int getFeatureReport(std::span<std::uint8_t> report) override {
        std::lock_guard lock(mutex_);
        return device_ ? hid_get_feature_report(device_, report.data(), report.size()) : -1;
    }
    int readInputReport(std::span<std::uint8_t> report, int timeoutMs) override {
        std::lock_guard lock(mutex_);
        return device_ ? hid_read_timeout(device_, report.data(), report.size(), timeoutMs) : -1;
    }
    bool getProductString(std::string& product) override {
        std::lock_guard lock(mutex_);
        // 50 wide characters: at most 49 characters and the terminator.
        std::array<wchar_t, 50> text{};
        if (!device_ || hid_get_product_string(device_, text.data(), text.size()) != 0)
            return false;
        product = toUtf8(text.data());
        return true;
    }
    bool getAttributes(std::uint16_t& vendorId, std::uint16_t& productId) override {
        std::lock_guard lock(mutex_);
        if (!device_)
            return false;
        const hid_device_info* info = hid_get_device_info(device_);
        if (!info)
            return false;
        vendorId = info->vendor_id;
        productId = info->product_id;
        return true;
    }
    void close() override {
        std::lock_guard lock(mutex_);
        if (device_)
            hid_close(device_);
        device_ = nullptr;
    }
    bool isOpen() const override {
        std::lock_guard lock(mutex_);
        return device_ != nullptr;
    }

private:
    mutable std::mutex mutex_;
    hid_device* device_;
    const std::string path_; // the hidraw node, to tell a removed device from a refusal
};

} // namespace

HidapiBackend::HidapiBackend() { hid_init(); }

HidapiBackend::~HidapiBackend() { hid_exit(); }

std::vector<HidInterfaceInfo> HidapiBackend::enumerate() {
    std::vector<HidInterfaceInfo> interfaces;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* info = list; info; info = info->next) {
        interfaces.push_back({info->path ? info->path : "", info->vendor_id, info->product_id,
                              toUtf8(info->product_string), info->usage_page, info->usage});
    }
    hid_free_enumeration(list);
    return interfaces;
}

HidHandlePtr HidapiBackend::open(const std::string& path, HidAccess /*access*/) {
    // hidraw nodes are opened read-write; the access only says which way the caller uses it.
    hid_device* device = hid_open_path(path.c_str());
    if (!device)
        return nullptr;
    return std::make_shared<HidapiHandle>(device, path);
}

} // namespace varnix
