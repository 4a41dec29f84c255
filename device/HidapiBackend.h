// SPDX-License-Identifier: GPL-3.0-or-later
// The real HID backend over hidapi's hidraw implementation.
#pragma once

#include "device/HidBackend.h"

namespace varnix {

class HidapiBackend final : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    std::vector<HidInterfaceInfo> enumerate() override;
    HidHandlePtr open(const std::string& path, HidAccess access) override;
};

} // namespace varnix
