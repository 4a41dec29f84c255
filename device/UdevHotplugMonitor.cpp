// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/UdevHotplugMonitor.h"

#include "common/Diagnostics.h"

#include <libudev.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace varnix {
namespace {

// "0003:00003151:00001441" -> vendor and product.
bool parseHidId(const char* hidId, unsigned& vendorId, unsigned& productId) {
    unsigned bus = 0;
    return hidId && std::sscanf(hidId, "%x:%x:%x", &bus, &vendorId, &productId) == 3;
}

} // namespace

UdevHotplugMonitor::~UdevHotplugMonitor() { stop(); }

bool UdevHotplugMonitor::start(DeviceChangeCallback callback) {
    stop();
    udev_ = udev_new();
    if (!udev_)
        return false;
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    // A hidraw node appears once its device is ready; on removal the hid device's own event
    // still carries HID_ID, which the hidraw event no longer can look up.
    if (!monitor_ || udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hid", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0 || ::pipe(wakePipe_) != 0) {
        debugOutput("hot-plug: cannot listen to udev\n");
        stop();
        return false;
    }
    thread_ = std::thread([this, callback = std::move(callback)] { run(callback); });
    return true;
}

void UdevHotplugMonitor::stop() {
    if (thread_.joinable()) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakePipe_[1], &wake, 1);
        thread_.join();
    }
    for (int& fd : wakePipe_) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    if (monitor_)
        udev_monitor_unref(monitor_);
    monitor_ = nullptr;
    if (udev_)
        udev_unref(udev_);
    udev_ = nullptr;
}

void UdevHotplugMonitor::run(DeviceChangeCallback callback) {
    pollfd fds[2] = {{udev_monitor_get_fd(monitor_), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        udev_device* device = udev_monitor_receive_device(monitor_);
        if (!device)
            continue;
        const char* action = udev_device_get_action(device);
        const char* subsystem = udev_device_get_subsystem(device);
        unsigned vendorId = 0;
        unsigned productId = 0;
        const char* sysname = udev_device_get_sysname(device);
        if (action && subsystem && std::strcmp(action, "add") == 0 &&
            std::strcmp(subsystem, "hidraw") == 0) {
            udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
            const char* node = udev_device_get_devnode(device);
            if (hid && parseHidId(udev_device_get_property_value(hid, "HID_ID"), vendorId, productId))
                callback(DeviceChangeEvent::Arrival,
                         deviceInterfaceName(vendorId, productId, node ? node : ""));
        } else if (action && subsystem && std::strcmp(action, "remove") == 0 &&
                   std::strcmp(subsystem, "hid") == 0) {
            if (parseHidId(udev_device_get_property_value(device, "HID_ID"), vendorId, productId))
                callback(DeviceChangeEvent::Removal,
                         deviceInterfaceName(vendorId, productId,
                                             sysname ? sysname : ""));
        }
        udev_device_unref(device);
    }
}

} // namespace varnix
