// SPDX-License-Identifier: GPL-3.0-or-later
#include "kinds/SharedKeyboardLighting.h"

#include "keyboard/KeyboardApplyWriter.h"
#include "keyboard/KeyboardConfig.h"
#include "macro/MacroStore.h"

namespace varnix {

ApplyResult writeSharedKeyboardLighting(FindDev& device, const std::filesystem::path& resourceRoot,
                                        const std::filesystem::path& modelFolder,
                                        const LedEffect& effect) {
    KeyboardConfig config;
    config.LoadKeyboardConfig(modelFolder);
    config.lighting = effect;
    MacroStore store(resourceRoot);
    store.LoadMacroFile();
    KeyboardDeviceState state;
    KeyboardApplyWriter writer(device, std::move(config), store.groups, state);
    return writer.write({});
}

} // namespace varnix
