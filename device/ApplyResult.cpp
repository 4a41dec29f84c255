// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ApplyResult.h"

namespace varnix {

ApplyResult ApplyResult::failed(Status status, std::string detail, int bytesWritten) {
    ApplyResult result;
    result.status = status;
    result.detail = std::move(detail);
    result.bytesWritten = bytesWritten;
    if (status == Status::TooLarge) {
        result.titleKey = messagekey::Tip;
        result.messageKey = messagekey::MaxDataWarn;
    } else {
        result.titleKey = messagekey::Error;
        result.messageKey = messagekey::ApplyErr;
    }
    return result;
}

ApplyResult ApplyResult::refused(const Outcome& refusal) {
    const Status status = refusal.ok() ? Status::Abandoned : refusal.status;
    ApplyResult result = failed(status, status == Status::TooLarge
                                            ? "the image does not fit the device: " + refusal.detail
                                            : refusal.detail);
    if (refusal.hasMessage()) {
        result.titleKey = refusal.titleKey;
        result.messageKey = refusal.messageKey;
    }
    return result;
}

} // namespace varnix
