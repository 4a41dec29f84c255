// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/MouseModelImage.h"

#include "device/MouseFeatureProfile.h"
#include "macro/MacroStore.h"
#include "mouse/MouseConfigFile.h"
#include "mouse/MouseDeviceValues.h"
#include "mouse/MouseImageBuilder.h"

namespace varnix {

Expected<MouseConfigModel> MouseModelImage::loadModel(const std::filesystem::path& modelFolder) {
    MouseConfigModel model;
    Outcome outcome = MouseConfigFile::load(MouseConfigFile::configPath(modelFolder), model);
    if (outcome.status == Status::Missing)
        outcome = MouseConfigFile::load(MouseConfigFile::resetPath(modelFolder), model);
    if (!outcome.ok())
        return outcome;
    model.applyFeatureProfile(MouseFeatureProfile::read(modelFolder));
    return model;
}

ParameterImage MouseModelImage::build(const std::filesystem::path& resourceRoot,
                                      const std::filesystem::path& modelFolder,
                                      const MouseConfigModel& model,
                                      std::vector<std::string>* warnings) {
    MacroStore store(resourceRoot);
    store.LoadMacroFile();
    const std::vector<MacroRecord> shortcuts =
        MacroStore::ReadMacroList(resourceRoot / MouseShortcutFile);
    const MouseFeatureProfile feature = MouseFeatureProfile::read(modelFolder);
    const MouseDeviceValues values = MouseDeviceValues::fromModel(model, store.groups);
    const MouseImageInput input{values, feature, MouseImageBuilder::extendedLayout(feature),
                                store.groups, shortcuts};
    return MouseImageBuilder::build(input, warnings);
}

Expected<ParameterImage> MouseModelImage::build(const std::filesystem::path& resourceRoot,
                                                const std::filesystem::path& modelFolder,
                                                std::vector<std::string>* warnings) {
    const Expected<MouseConfigModel> model = loadModel(modelFolder);
    if (!model)
        return model.outcome();
    return build(resourceRoot, modelFolder, *model, warnings);
}

} // namespace varnix
