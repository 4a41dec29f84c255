// SPDX-License-Identifier: GPL-3.0-or-later
// A layout position file read into memory: the container, its skins and the control records.
#pragma once

#include "app/CControlAttributes.h"
#include "common/Outcome.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace varnix {

namespace positionfile {
inline constexpr std::string_view ContainerKey = "Containerinfo";
inline constexpr std::string_view ControlsKey = "Controlinfo";
inline constexpr std::string_view ContainerNameKey = "containname";
inline constexpr std::string_view WidthKey = "width";
inline constexpr std::string_view HeightKey = "height";
inline constexpr std::string_view BkImageKey = "bkimage";
inline constexpr std::string_view NormalImageKey = "normalimage";
inline constexpr std::string_view OverImageKey = "overimage";
inline constexpr std::string_view DownImageKey = "downimage";
inline constexpr std::string_view TypeKey = "type";
// Debug line when the container control is not in the skin.
inline constexpr std::string_view ContainerNotFoundText = "背景图片设置异常 未找到控件";
// Message box text of the pages that report an unreadable position file themselves.
inline constexpr std::string_view CannotOpenText = "无法打开json文件";
} // namespace positionfile

class PositionSheet {
public:
    std::string containerName;
    int width = 0;  // kept, not applied
    int height = 0; // kept, not applied
    std::string bkImage;
    std::string normalImage;
    std::string overImage;
    std::string downImage;
    std::vector<std::unique_ptr<CControlAttributes>> controls;

    SkinPaths skinPaths() const { return SkinPaths{normalImage, overImage, downImage}; }
    // The container's background: {containerName, "bkimage", bkImage}.
    AttributeAssignment containerAssignment() const;
};

// Reads a position file. An unopenable file leaves the sheet empty (Missing). A JSON error in
// the document or the container part (Invalid, the library's message as detail) is written to
// the debug channel and stops reading: the sheet keeps what was read before it. Errors inside
// one control entry are handled by that record. "Controlinfo" is read beside "Containerinfo", or
// inside it when not found there. No message key is attached: the pages differ in what they
// show for a layout file that does not read.
Outcome LoadPositionSheet(const std::filesystem::path& path, PositionSheet& sheet);
Outcome ParsePositionSheet(std::string_view json, PositionSheet& sheet);

// The record for an entry's "type": option, button, optver, slider, label (exact); anything
// else is an option.
std::unique_ptr<CControlAttributes> makeControlAttributes(std::string_view type);

// The control names of all records, in order.
std::vector<std::string> PositionedControlNames(const PositionSheet& sheet);

} // namespace varnix
