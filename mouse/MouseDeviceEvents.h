// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window does with a mouse's DPI-stage and profile reports: store them in the
// mouse's saved configuration when the reporting key carries a DPI or profile function.
#pragma once

#include "common/WindowMessage.h"
#include "mouse/MouseConfigModel.h"

#include <filesystem>
#include <optional>

namespace varnix {

// Function codes of the keys that switch the DPI stage, and the range of profile switches.
inline constexpr int DpiSwitchCodes[] = {6, 11, 12};
inline constexpr int FirstProfileSwitchCode = 22;
inline constexpr int LastProfileSwitchCode = 26;

// Reloads the mouse's configuration from its model folder; when the reporting key's function in
// the current profile is a DPI switch, stores the stage and saves. Returns the reloaded model when
// the stage was stored, nullopt otherwise (also when the file cannot be read or written).
std::optional<MouseConfigModel> StoreDpiStageFromDevice(const std::filesystem::path& modelFolder,
                                                        const MouseReport& report);
// The same for a profile report and the profile switching functions.
std::optional<MouseConfigModel> StoreProfileFromDevice(const std::filesystem::path& modelFolder,
                                                       const MouseReport& report);

} // namespace varnix
