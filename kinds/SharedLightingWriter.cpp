// SPDX-License-Identifier: GPL-3.0-or-later
#include "kinds/SharedLightingWriter.h"

#include "common/Diagnostics.h"
#include "device/ModelFolder.h"
#include "device/MouseWriter.h"
#include "device/PadWriter.h"
#include "lighting/LedMode.h"
#include "kinds/SharedKeyboardLighting.h"
#include "mouse/MouseImageBuilder.h"
#include "mouse/MouseModelImage.h"

namespace varnix {
namespace {

ApplyResult failed(std::string message) {
    ApplyResult result;
    result.status = ApplyStatus::Failed;
    result.message = std::move(message);
    return result;
}

} // namespace

SharedLightingWriter::SharedLightingWriter(FindDev& catalogue, std::filesystem::path resourceRoot)
    : catalogue_(catalogue), resourceRoot_(std::move(resourceRoot)) {
    keyboardBranch_ = [root = resourceRoot_](FindDev& device, const DeviceRecord&,
                                             const std::filesystem::path& folder,
                                             const LedEffect& effect) {
        return writeSharedKeyboardLighting(device, root, folder, effect);
    };
}

void SharedLightingWriter::setObservers(DeviceObserver before, ResultObserver after) {
    before_ = std::move(before);
    after_ = std::move(after);
}

std::optional<PadDeviceValues> SharedLightingWriter::padValues(const SharedLighting& lighting) {
    const std::optional<LedEffect> effect = lighting.deviceEffect();
    if (!effect)
        return std::nullopt;
    PadDeviceValues values;
    values.fill(*effect);
    values.colourIndex = lighting.colourIndex();
    values.speed = lighting.speed - 1;
    return values;
}

MouseConfigModel SharedLightingWriter::mouseModel(const MouseConfigModel& saved,
                                                  const SharedLighting& lighting) {
    MouseConfigModel model = saved;
    const std::optional<int> code = SharedLighting::deviceModeCode(lighting.mode);
    model.curselmode = static_cast<std::uint32_t>(code.value_or(LedModeMute));
    model.brightnessvalue = static_cast<std::uint32_t>(lighting.brightness);
    model.frequencyvalue = static_cast<std::uint32_t>(lighting.speed);
    model.issysmetry = lighting.symmetric;
    model.directionsel = static_cast<std::uint32_t>(lighting.direction);
    model.ledColours.clear();
    for (const ColourSlot& slot : lighting.slots)
        model.ledColours.push_back({slot.enabled, slot.colour});
    return model;
}

std::optional<ParameterImage>
SharedLightingWriter::mouseLightingImage(const std::filesystem::path& resourceRoot,
                                         const std::filesystem::path& modelFolder,
                                         const SharedLighting& lighting, std::string& error) {
    const std::optional<MouseConfigModel> saved = MouseModelImage::loadModel(modelFolder, error);
    if (!saved)
        return std::nullopt;
    const ParameterImage image =
        MouseModelImage::build(resourceRoot, modelFolder, mouseModel(*saved, lighting));
    return MouseImageBuilder::lightingImage(image);
}

ApplyResult SharedLightingWriter::writeDevice(const DeviceRecord& record,
                                              const SharedLighting& lighting) {
    const std::filesystem::path folder =
        modelResourceFolder(resourceRoot_, record.DevType, record.DevFolder);
    const std::optional<LedEffect> effect = lighting.deviceEffect();
    if (!effect)
        return failed(
            formatText("shared lighting mode position %d has no device mode", lighting.mode));
    switch (record.DevType) {
    case DevTypeKeyboard:
        if (!keyboardBranch_)
            return failed("keyboard lighting cannot be written: no keyboard image builder");
        return keyboardBranch_(catalogue_, record, folder, *effect);
    case DevTypePad: {
        PadWriter writer(catalogue_, PadImageBuilder::build(*padValues(lighting)));
        return writer.write({});
    }
    case DevTypeMouse: {
        std::string error;
        std::optional<ParameterImage> image =
            mouseLightingImage(resourceRoot_, folder, lighting, error);
        if (!image)
            return failed("mouse " + record.DevName + " has no saved configuration: " + error);
        MouseWriter writer(catalogue_, std::move(*image));
        return writer.write({});
    }
    default:
        return failed(formatText("device type %d has no lighting", record.DevType));
    }
}

bool SharedLightingWriter::writeToDevices(const SharedLighting& lighting) {
    const HidHandlePtr previous = catalogue_.writeTarget().get();
    bool allWritten = true;
    for (std::size_t i = 0; i < catalogue_.DeviceList.size(); ++i) {
        const DeviceRecord& record = catalogue_.DeviceList[i];
        if (record.Connected != 1 || !record.WriteHandle)
            continue;
        if (before_)
            before_(i, record);
        catalogue_.writeTarget().set(record.WriteHandle);
        const ApplyResult result = writeDevice(record, lighting);
        if (!result.completed()) {
            allWritten = false;
            debugOutput(formatText("shared lighting: device %zu (%s): %s", i,
                                   record.DevName.c_str(), result.message.c_str()));
        }
        if (after_)
            after_(i, record, result);
    }
    catalogue_.writeTarget().set(previous);
    return allWritten;
}

} // namespace varnix
