// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/PadPageModel.h"

#include "common/FileNames.h"

namespace varnix {

PadPageModel::PadPageModel() : panel_(*LedPanel::fromPrefix(PadLedPrefix)) {
    panel_.show(PadLighting::defaults().effect());
    response_ = PadLighting::defaults().response;
}

Outcome PadPageModel::load(const std::filesystem::path& modelFolder, std::string padName) {
    folder_ = modelFolder;
    padName_ = std::move(padName);
    return reload();
}

Outcome PadPageModel::reload() {
    PadLighting lighting;
    std::uint8_t maximum = 7;
    const Outcome loaded = PadLighting::load(folder_, lighting, &maximum);
    if (!loaded)
        return loaded.shown(messagekey::Tip, padpage::JsonWarn);
    brightMax_ = maximum;
    panel_.setBrightnessLimit(brightMax_);
    panel_.show(lighting.effect());
    response_ = lighting.response;
    return loaded;
}

PadLighting PadPageModel::lighting() const {
    PadLighting lighting;
    lighting.setEffect(panel_.effect());
    lighting.response = response_;
    return lighting;
}

Outcome PadPageModel::save() const {
    return PadLighting::save(folder_, lighting());
}

ParameterImage PadPageModel::image() {
    device_.fill(panel_.effect());
    return PadImageBuilder::build(device_);
}

Outcome PadPageModel::importFrom(const std::filesystem::path& source) {
    Outcome imported = PadLighting::importFrom(folder_, source, padName_);
    if (!imported)
        return imported.hasMessage() ? imported
                                     : imported.shown(messagekey::Error, messagekey::ImportErr);
    return reload();
}

Outcome PadPageModel::exportTo(const std::filesystem::path& target,
                               std::filesystem::path* written) const {
    std::filesystem::path file = target;
    file.replace_filename(withExchangeExtension(file.filename().string(),
                                                padfile::ExchangeExtension, ExchangeSuffix));
    if (written)
        *written = file;
    const Outcome exported = PadLighting::exportTo(folder_, file, padName_);
    if (!exported)
        return exported.shown(messagekey::Error, padpage::ExportErr);
    return exported;
}

Outcome PadPageModel::reset() {
    if (const Outcome copied = PadLighting::reset(folder_); !copied)
        return copied.shown(messagekey::Error, padpage::JsonWarn);
    return reload();
}

} // namespace varnix
