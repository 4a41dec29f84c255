// SPDX-License-Identifier: GPL-3.0-or-later
#include "kinds/DeviceKind.h"

#include "common/WindowMessage.h"
#include "device/KeyboardFeatureProfile.h"
#include "device/KeyboardWriter.h"
#include "device/ModelFolder.h"
#include "device/MouseWriter.h"
#include "device/PadWriter.h"
#include "keyboard/KeyboardApply.h"
#include "keyboard/KeyboardConfig.h"
#include "kinds/SharedLightingWriter.h"
#include "lighting/PadImageBuilder.h"
#include "lighting/PadLighting.h"
#include "macro/MacroStore.h"
#include "mouse/MouseImageBuilder.h"
#include "mouse/MouseModelImage.h"

namespace varnix {
namespace {

// The keyboard plays macros from its own memory, so a macro file that does not load refuses the
// image rather than writing the keys without their macros.
Expected<std::vector<MacroGroup>> savedMacros(const KindModel& model) {
    MacroStore store(model.resourceRoot);
    if (const Outcome loaded = store.LoadMacroFile(); !loaded)
        return Outcome::failure(Status::Invalid, loaded.detail);
    return store.groups;
}

// --- mouse ---

ApplyWriter::ImageSource mouseSavedImage(FindDev&, const KindModel& model) {
    return [model]() -> Expected<ParameterImage> {
        std::vector<std::string> warnings;
        Expected<ParameterImage> image =
            MouseModelImage::build(model.resourceRoot, model.modelFolder, &warnings);
        if (model.warn)
            for (const std::string& warning : warnings)
                model.warn(warning);
        return image;
    };
}

ApplyWriter::ImageSource mouseSharedLighting(FindDev&, const KindModel& model,
                                             const SharedLighting& lighting) {
    return [model, lighting]() -> Expected<ParameterImage> {
        if (!lighting.deviceEffect())
            return SharedLightingWriter::noDeviceMode(lighting.mode);
        return SharedLightingWriter::mouseLightingImage(model.resourceRoot, model.modelFolder,
                                                        lighting);
    };
}

std::unique_ptr<ApplyWriter> mouseWriter(FindDev& device, ApplyWriter::ImageSource source,
                                         const KindModel&) {
    return std::make_unique<MouseWriter>(device, std::move(source));
}

// --- keyboard ---

KeyboardConfig savedKeyboard(const KindModel& model) {
    KeyboardConfig config;
    config.LoadKeyboardConfig(model.modelFolder);
    return config;
}

ApplyWriter::ImageSource keyboardSaved(FindDev& device, const KindModel& model,
                                       std::optional<LedEffect> lighting) {
    // The settings a device object carries from one apply to the next start afresh here.
    auto state = std::make_shared<const KeyboardDeviceState>();
    return [&device, model, lighting, state]() -> Expected<ParameterImage> {
        KeyboardConfig config = savedKeyboard(model);
        if (lighting)
            config.lighting = *lighting;
        Expected<std::vector<MacroGroup>> macros = savedMacros(model);
        if (!macros)
            return macros.outcome();
        return keyboardImageSource(device, std::move(config), std::move(*macros), *state,
                                   model.baseAddress)();
    };
}

ApplyWriter::ImageSource keyboardSavedImage(FindDev& device, const KindModel& model) {
    return keyboardSaved(device, model, std::nullopt);
}

ApplyWriter::ImageSource keyboardSharedLighting(FindDev& device, const KindModel& model,
                                                const SharedLighting& lighting) {
    const std::optional<LedEffect> effect = lighting.deviceEffect();
    if (!effect)
        return [mode = lighting.mode]() -> Expected<ParameterImage> {
            return SharedLightingWriter::noDeviceMode(mode);
        };
    return keyboardSaved(device, model, *effect);
}

std::unique_ptr<ApplyWriter> keyboardWriter(FindDev& device, ApplyWriter::ImageSource source,
                                            const KindModel& model) {
    return std::make_unique<KeyboardWriter>(
        device, std::move(source), KeyboardFeatureProfile::read(model.modelFolder).capacity);
}

// --- pad ---

ApplyWriter::ImageSource padSavedImage(FindDev&, const KindModel& model) {
    return [model]() -> Expected<ParameterImage> {
        // Without a saved file the pad shows and writes its defaults; nothing is saved here.
        PadLighting lighting;
        if (const Outcome loaded = PadLighting::load(model.modelFolder, lighting, nullptr, false);
            !loaded)
            return loaded;
        return PadImageBuilder::build(PadDeviceValues::fromLighting(lighting));
    };
}

ApplyWriter::ImageSource padSharedLighting(FindDev&, const KindModel&,
                                           const SharedLighting& lighting) {
    return [lighting]() -> Expected<ParameterImage> {
        const std::optional<PadDeviceValues> values = SharedLightingWriter::padValues(lighting);
        if (!values)
            return SharedLightingWriter::noDeviceMode(lighting.mode);
        return PadImageBuilder::build(*values);
    };
}

std::unique_ptr<ApplyWriter> padWriter(FindDev& device, ApplyWriter::ImageSource source,
                                       const KindModel&) {
    return std::make_unique<PadWriter>(device, std::move(source));
}

} // namespace

std::filesystem::path DeviceKind::modelFolder(const std::filesystem::path& resourceRoot,
                                              const DeviceRecord& record) const {
    return modelResourceFolder(resourceRoot, devType, record.DevFolder);
}

const std::vector<DeviceKind>& deviceKinds() {
    static const std::vector<DeviceKind> kinds{
        {DevTypeMouse, "mouse", PageCodeMouse, MouseWriter::BlockSize, MouseWriter::stopOf,
         mouseSavedImage, mouseSharedLighting, mouseWriter},
        {DevTypeKeyboard, "keyboard", PageCodeKeyboard, KeyboardWriter::BlockSize,
         KeyboardWriter::stopOf, keyboardSavedImage, keyboardSharedLighting, keyboardWriter},
        {DevTypePad, "pad", PageCodePad, PadWriter::BlockSize, PadWriter::stopOf, padSavedImage,
         padSharedLighting, padWriter},
    };
    return kinds;
}

const DeviceKind* deviceKindOf(std::int32_t devType) {
    for (const DeviceKind& kind : deviceKinds())
        if (kind.devType == devType)
            return &kind;
    return nullptr;
}

const DeviceKind* deviceKindNamed(std::string_view name) {
    for (const DeviceKind& kind : deviceKinds())
        if (kind.name == name)
            return &kind;
    return nullptr;
}

} // namespace varnix
