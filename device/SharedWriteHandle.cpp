// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/SharedWriteHandle.h"

namespace varnix {

void SharedWriteHandle::set(HidHandlePtr handle) {
    std::lock_guard lock(mutex_);
    handle_ = std::move(handle);
}

HidHandlePtr SharedWriteHandle::get() const {
    std::lock_guard lock(mutex_);
    return handle_;
}

SharedWriteHandle& CurrentWriteHandle() {
    static SharedWriteHandle target;
    return target;
}

} // namespace varnix
