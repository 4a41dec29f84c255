// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceEventHub.h"

#include "common/Diagnostics.h"
#include "common/WindowMessage.h"
#include "device/FindDev.h"

#include <array>

namespace varnix {
namespace {

// How long one blocking read waits before the reader looks at its stop flag again.
constexpr int ReadTimeoutMs = 50;
// Pause after a failed read, so a device that is gone does not spin the reader.
constexpr int FailedReadPauseMs = 2;
constexpr std::size_t InputReportSize = 64;

} // namespace

class DeviceEventHub::Reader {
public:
    Reader(DeviceEventHub& hub, int deviceIndex, int devType, HidHandlePtr readHandle,
           HidHandlePtr writeHandle)
        : readHandle_(std::move(readHandle)) {
        thread_ = std::thread([this, &hub, deviceIndex, devType, writeHandle] {
            run(hub, deviceIndex, devType, writeHandle);
        });
        debugOutput("创建线程\n"); // "thread created"
    }
    ~Reader() {
        stop_ = true;
        thread_.join();
    }
    const HidHandlePtr& readHandle() const { return readHandle_; }

private:
    void run(DeviceEventHub& hub, int deviceIndex, int devType, const HidHandlePtr& writeHandle) {
        std::array<std::uint8_t, InputReportSize> report{};
        while (!stop_) {
            const int length = readHandle_->readInputReport(report, ReadTimeoutMs);
            if (length < 0) {
                hub.clock_.sleepMs(FailedReadPauseMs);
                continue;
            }
            if (length == 0)
                continue;
            const std::span<const std::uint8_t> received(report.data(),
                                                         static_cast<std::size_t>(length));
            if (!isMouseKeyReport(devType, received))
                continue;
            MouseEventRules rules = hub.rules_ ? hub.rules_(deviceIndex) : MouseEventRules{};
            hub.queue_.setKeyMap(deviceIndex, std::move(rules.keyMap));
            for (DeviceEvent& event :
                 eventsForInputReport(deviceIndex, devType, received, rules.longHoldSwitch,
                                      writeHandle)) {
                if (event.devenent == DpiKeyEvent)
                    debugOutput(formatText("***Devrespon****\n msg.devenent >>> %d\n msg.devid >>> "
                                           "%d\n msg.eventvalue1 >>> %d\n",
                                           event.devenent, event.devid, event.eventvalue1));
                hub.queue_.push(std::move(event));
            }
        }
    }

    HidHandlePtr readHandle_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

DeviceEventHub::DeviceEventHub(MouseEventRulesLookup rules, PostMessageFn post, Clock& clock)
    : rules_(std::move(rules)), post_(std::move(post)), clock_(clock) {
    consumer_ = std::thread([this] { consumerLoop(); });
}

DeviceEventHub::~DeviceEventHub() {
    stopReaders();
    queue_.close();
    consumer_.join();
}

void DeviceEventHub::startReaders(const std::vector<DeviceRecord>& devices) {
    for (auto it = readers_.begin(); it != readers_.end();) {
        const auto index = static_cast<std::size_t>(it->first);
        const bool current = index < devices.size() && devices[index].Connected &&
                             devices[index].ReadHandle == it->second->readHandle();
        it = current ? std::next(it) : readers_.erase(it);
    }
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const DeviceRecord& record = devices[i];
        const int index = static_cast<int>(i);
        if (!record.Connected || !record.ReadHandle || readers_.count(index))
            continue;
        readers_[index] = std::make_unique<Reader>(*this, index, record.DevType, record.ReadHandle,
                                                   record.WriteHandle);
    }
}

void DeviceEventHub::stopReaders() { readers_.clear(); }

int DeviceEventHub::runningReaders() const { return static_cast<int>(readers_.size()); }

void DeviceEventHub::consume(const DeviceEvent& event) {
    debugOutput(formatText("msg.devid===%d\n", event.devid));
    const int key = event.eventvalue1 - keyreport::KeyBase;
    if (event.devenent == DpiKeyEvent && event.eventvalue1 > keyreport::KeyBase &&
        event.eventvalue1 < 256) {
        if (const auto button = queue_.buttonForKey(event.devid, key); button && post_)
            post_(WM_DpiStage, dpiStageParam(*button, event.eventvalue2), event.devid);
    } else if (event.devenent == ProfileKeyEvent && event.eventvalue1 > keyreport::KeyBase &&
               event.eventvalue1 < 255) {
        std::array<std::uint8_t, frame::Size> feature{frame::ReportId};
        if (event.writeHandle)
            event.writeHandle->getFeatureReport(feature);
        if (const auto button = queue_.buttonForKey(event.devid, key); button && post_)
            post_(WM_ProfileChanged,
                  profileParam(*button, feature[ProfileFeatureByte] >> ProfileFeatureShift),
                  event.devid);
    }
}

void DeviceEventHub::consumerLoop() {
    while (const std::optional<DeviceEvent> event = queue_.waitPop())
        consume(*event);
}

} // namespace varnix
