// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/MouseDeviceEvents.h"

#include "common/Diagnostics.h"
#include "mouse/MouseConfigFile.h"

#include <algorithm>

namespace varnix {
namespace {

// Reloads the model, asks `accepts` whether the key's function qualifies, lets `store` change
// the model and saves it.
template <typename Accepts, typename Store>
std::optional<MouseConfigModel> storeFromDevice(const std::filesystem::path& modelFolder,
                                                const MouseReport& report, Accepts accepts,
                                                Store store) {
    const std::filesystem::path file = MouseConfigFile::configPath(modelFolder);
    MouseConfigModel model;
    if (!MouseConfigFile::load(file, model).ok())
        return std::nullopt;
    const MouseKeyBinding* binding =
        model.binding(static_cast<int>(model.curporfile), report.button);
    if (!binding || !accepts(binding->code))
        return std::nullopt;
    store(model);
    if (const Outcome saved = MouseConfigFile::save(file, model); !saved.ok()) {
        debugOutput("cannot save " + file.string() + ": " + saved.detail + "\n");
        return std::nullopt;
    }
    return model;
}

} // namespace

std::optional<MouseConfigModel> StoreDpiStageFromDevice(const std::filesystem::path& modelFolder,
                                                        const MouseReport& report) {
    return storeFromDevice(
        modelFolder, report,
        [](int code) {
            return std::find(std::begin(DpiSwitchCodes), std::end(DpiSwitchCodes), code) !=
                   std::end(DpiSwitchCodes);
        },
        [&](MouseConfigModel& model) {
            model.cruseldpi = static_cast<std::uint32_t>(report.value);
        });
}

std::optional<MouseConfigModel> StoreProfileFromDevice(const std::filesystem::path& modelFolder,
                                                       const MouseReport& report) {
    return storeFromDevice(
        modelFolder, report,
        [](int code) { return code >= FirstProfileSwitchCode && code <= LastProfileSwitchCode; },
        [&](MouseConfigModel& model) {
            model.curporfile = static_cast<std::uint32_t>(report.value);
        });
}

} // namespace varnix
