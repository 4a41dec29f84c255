// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide write target that every feature frame goes through.
#pragma once

#include "device/HidBackend.h"

#include <mutex>

namespace varnix {

// Holds the write collection of the selected device. It only aliases a record's handle: when the
// device is closed the handle turns inert, so a frame sent afterwards is a harmless no-op and
// never touches freed memory.
class SharedWriteHandle {
public:
    void set(HidHandlePtr handle);
    HidHandlePtr get() const;
    void clear() { set(nullptr); }

private:
    mutable std::mutex mutex_;
    HidHandlePtr handle_;
};

// The one target of the process.
SharedWriteHandle& CurrentWriteHandle();

} // namespace varnix
