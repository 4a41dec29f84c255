// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyboardApply.h"

#include "keyboard/KeyboardImageBuilder.h"

namespace varnix {

ApplyWriter::ImageSource keyboardImageSource(FindDev& device, KeyboardConfig config,
                                             std::vector<MacroGroup> macros,
                                             const KeyboardDeviceState& state,
                                             std::optional<int> base) {
    return [&device, config = std::move(config), macros = std::move(macros), &state,
            base]() -> Expected<ParameterImage> {
        const int at = base ? *base : device.ReadBaseAddress();
        Expected<KeyboardImage> image = KeyboardImageBuilder(config, macros, state).build(at);
        if (!image)
            return image.outcome();
        return std::move(image->image);
    };
}

std::unique_ptr<KeyboardWriter> makeKeyboardWriter(FindDev& device, KeyboardConfig config,
                                                   std::vector<MacroGroup> macros,
                                                   KeyboardDeviceState& state) {
    const int capacity = config.feature.capacity;
    const int mode = config.lighting.mode;
    auto writer = std::make_unique<KeyboardWriter>(
        device, keyboardImageSource(device, std::move(config), std::move(macros), state), capacity);
    writer->setCompletion([&state, mode] { state.rememberWrite(mode); });
    return writer;
}

} // namespace varnix
