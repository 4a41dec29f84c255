// SPDX-License-Identifier: GPL-3.0-or-later
// One row per device kind: what the program builds for a mouse, a keyboard and a pad, and how it
// writes it. The command line, the shared lighting write and the pages all go through these rows.
#pragma once

#include "device/ApplyWriter.h"
#include "device/DeviceRecord.h"
#include "device/ParameterImage.h"
#include "lighting/SharedLighting.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnix {

// Where a kind finds a model's saved configuration.
struct KindModel {
    std::filesystem::path resourceRoot; // the macro store and the mouse's shortcut list
    std::filesystem::path modelFolder;  // the model's resource folder
    // A keyboard image is built at this base address instead of the device's own.
    std::optional<int> baseAddress;
    // Receives what the image leaves out but still writes (a mouse macro cut at 560 bytes).
    std::function<void(const std::string&)> warn;
};

struct DeviceKind {
    std::int32_t devType;  // DevTypeMouse, DevTypeKeyboard, DevTypePad
    std::string_view name; // "mouse", "keyboard", "pad"
    int pageCode;          // the page's code in popups and messages, the progress popup's kind
    int blockSize;         // the write-out's block size
    int (*stopPosition)(const ParameterImage& image);

    // The image an apply of the model's saved configuration writes. It is built when the source
    // is called, on the writer's thread: a keyboard reads its base address from the device then.
    ApplyWriter::ImageSource (*savedImage)(FindDev& device, const KindModel& model);
    // The same with the shared lighting in place of the model's own (a mouse gets only the
    // lighting addresses of its image).
    ApplyWriter::ImageSource (*sharedLightingImage)(FindDev& device, const KindModel& model,
                                                    const SharedLighting& lighting);
    // The kind's writer for a source (a keyboard's capacity from the model's feature profile).
    std::unique_ptr<ApplyWriter> (*writer)(FindDev& device, ApplyWriter::ImageSource source,
                                           const KindModel& model);

    // The model folder of a catalogue row of this kind under the resource root (empty when the
    // row names no usable folder).
    std::filesystem::path modelFolder(const std::filesystem::path& resourceRoot,
                                      const DeviceRecord& record) const;
};

// Mouse, keyboard, pad, in this order.
const std::vector<DeviceKind>& deviceKinds();
// The row of a device type or of a kind's name; null for anything else.
const DeviceKind* deviceKindOf(std::int32_t devType);
const DeviceKind* deviceKindNamed(std::string_view name);

} // namespace varnix
