// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceRecord.h"

#include "common/Diagnostics.h"

namespace varnix {

std::string DeviceRecord::identificationText() const {
    return formatText("VID_%X&PID_%X", static_cast<unsigned>(Vid), static_cast<unsigned>(Pid));
}

void DeviceRecord::closeConnection() {
    if (WriteHandle)
        WriteHandle->close();
    if (ReadHandle)
        ReadHandle->close();
    WriteHandle.reset();
    ReadHandle.reset();
    Connected = 0;
    DevicePath.clear();
    BaseAddress = UnknownBaseAddress;
}

} // namespace varnix
