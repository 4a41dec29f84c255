// SPDX-License-Identifier: GPL-3.0-or-later
// Where a device model keeps its data: the type's folder plus the catalogue row's DevFolder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace varnix {

// Folder of each device type under the resource root.
inline constexpr std::string_view MouseTypeFolder = "MouseKorv";
inline constexpr std::string_view KeyboardTypeFolder = "KeyboardKorv";
inline constexpr std::string_view PadTypeFolder = "PadKorv";

// The resource folder of a model: resourceRoot / type folder / devFolder, for example
// <root>/MouseKorv/MouseA for a mouse (DevType 1) with DevFolder "MouseA". Returns an empty path
// for an unknown device type, or for a DevFolder that is absolute or climbs out with "..", so
// that a catalogue row never points the program at files outside the model tree. An empty
// DevFolder gives the type folder itself.
std::filesystem::path modelResourceFolder(const std::filesystem::path& resourceRoot,
                                          std::int32_t devType, const std::string& devFolder);

} // namespace varnix
