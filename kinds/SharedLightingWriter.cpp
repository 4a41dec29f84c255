// SPDX-License-Identifier: GPL-3.0-or-later
#include "kinds/SharedLightingWriter.h"

#include "common/Diagnostics.h"
#include "kinds/DeviceKind.h"
#include "lighting/LedMode.h"
#include "mouse/MouseImageBuilder.h"
#include "mouse/MouseModelImage.h"

namespace varnix {

SharedLightingWriter::SharedLightingWriter(FindDev& catalogue, std::filesystem::path resourceRoot)
    : catalogue_(catalogue), resourceRoot_(std::move(resourceRoot)) {}

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

Expected<ParameterImage>
SharedLightingWriter::mouseLightingImage(const std::filesystem::path& resourceRoot,
                                         const std::filesystem::path& modelFolder,
                                         const SharedLighting& lighting) {
    const Expected<MouseConfigModel> saved = MouseModelImage::loadModel(modelFolder);
    if (!saved)
        return Outcome::failure(Status::Failed,
                                "the mouse has no saved configuration: " + saved.outcome().detail);
    const ParameterImage image =
        MouseModelImage::build(resourceRoot, modelFolder, mouseModel(*saved, lighting));
    return MouseImageBuilder::lightingImage(image);
}

Outcome SharedLightingWriter::noDeviceMode(int position) {
    return Outcome::failure(
        Status::Failed,
        formatText("shared lighting mode position %d has no device mode", position));
}

ApplyResult SharedLightingWriter::writeDevice(const DeviceRecord& record,
                                              const SharedLighting& lighting) {
    const DeviceKind* kind = deviceKindOf(record.DevType);
    if (!kind)
        return ApplyResult::failed(Status::Failed,
                                   formatText("device type %d has no lighting", record.DevType));
    const KindModel model{resourceRoot_, kind->modelFolder(resourceRoot_, record), {}, {}};
    if (model.modelFolder.empty())
        return ApplyResult::failed(Status::Failed, record.DevName + " has no usable model folder");
    std::unique_ptr<ApplyWriter> writer =
        kind->writer(catalogue_, kind->sharedLightingImage(catalogue_, model, lighting), model);
    writer->setTarget(record.WriteHandle);
    return writer->write({});
}

bool SharedLightingWriter::writeToDevices(const SharedLighting& lighting) {
    bool allWritten = true;
    for (std::size_t i = 0; i < catalogue_.DeviceList.size(); ++i) {
        const DeviceRecord& record = catalogue_.DeviceList[i];
        if (record.Connected != 1 || !record.WriteHandle)
            continue;
        if (before_)
            before_(i, record);
        const ApplyResult result = writeDevice(record, lighting);
        if (!result.completed()) {
            allWritten = false;
            debugOutput(formatText("shared lighting: device %zu (%s): %s", i,
                                   record.DevName.c_str(), result.detail.c_str()));
        }
        if (after_)
            after_(i, record, result);
    }
    return allWritten;
}

} // namespace varnix
