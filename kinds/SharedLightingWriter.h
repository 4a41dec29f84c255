// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the shared lighting into every connected device, each in its own family's codes.
#pragma once

#include "common/Outcome.h"
#include "device/ApplyResult.h"
#include "device/FindDev.h"
#include "device/ParameterImage.h"
#include "lighting/PadImageBuilder.h"
#include "lighting/SharedLighting.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace varnix {

class MouseConfigModel;

class SharedLightingWriter {
public:
    // Called before and after each connected device is written (index into DeviceList).
    using DeviceObserver = std::function<void(std::size_t index, const DeviceRecord& record)>;
    using ResultObserver = std::function<void(std::size_t index, const DeviceRecord& record,
                                              const ApplyResult& result)>;

    // The frames go through `catalogue`, whose DeviceList names the devices.
    SharedLightingWriter(FindDev& catalogue, std::filesystem::path resourceRoot);

    void setObservers(DeviceObserver before, ResultObserver after);

    // WriteSharedLightingToDevices: every record with Connected set gets the effect through its
    // kind's writer, with the record's own write handle pinned for its frames; the process-wide
    // write target is left as it is. Returns true when every device was written completely.
    bool writeToDevices(const SharedLighting& lighting);

    // The pad's device values for the shared effect: mapped mode, colour index only in
    // Constant, RGB channels, brightness as the pad takes it, device speed = speed - 1.
    static std::optional<PadDeviceValues> padValues(const SharedLighting& lighting);
    // The mouse model with its lighting replaced by the shared effect (mapped mode code).
    static MouseConfigModel mouseModel(const MouseConfigModel& saved,
                                       const SharedLighting& lighting);
    // The lighting frames of a mouse: the lighting addresses of its image, built from the saved
    // model of the folder with the shared effect; refused when the mouse has no saved model.
    static Expected<ParameterImage> mouseLightingImage(const std::filesystem::path& resourceRoot,
                                                       const std::filesystem::path& modelFolder,
                                                       const SharedLighting& lighting);
    // The refusal for a mode position without a device mode.
    static Outcome noDeviceMode(int position);

private:
    ApplyResult writeDevice(const DeviceRecord& record, const SharedLighting& lighting);

    FindDev& catalogue_;
    std::filesystem::path resourceRoot_;
    DeviceObserver before_;
    ResultObserver after_;
};

} // namespace varnix
