// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceEvent.h"

#include "device/DeviceRecord.h"

namespace varnix {

bool isMouseKeyReport(int devType, std::span<const std::uint8_t> report) {
    return devType == DevTypeMouse && report.size() > keyreport::ValueByte &&
           report[0] == keyreport::ReportId && report[keyreport::KeyByte] > keyreport::KeyBase;
}

std::vector<DeviceEvent> eventsForInputReport(int deviceIndex, int devType,
                                              std::span<const std::uint8_t> report,
                                              bool longHoldSwitch, const HidHandlePtr& writeHandle) {
    std::vector<DeviceEvent> events;
    if (!isMouseKeyReport(devType, report))
        return events;
    const std::uint8_t key = report[keyreport::KeyByte];
    const std::uint8_t value = report[keyreport::ValueByte];
    const bool longHold = (value & keyreport::LongHoldBit) != 0;
    // With the switch on, only long holds change the DPI stage; with it off, only short presses.
    if (longHold == longHoldSwitch)
        events.push_back({deviceIndex, DpiKeyEvent, key, value, nullptr});
    if (value != keyreport::LongHoldOnly)
        events.push_back({deviceIndex, ProfileKeyEvent, key, 0, writeHandle});
    return events;
}

} // namespace varnix
