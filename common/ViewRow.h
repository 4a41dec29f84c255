// SPDX-License-Identifier: GPL-3.0-or-later
// What a page's controls should show, as rows of (control name, attribute, value) in the skin's
// attribute texts; a page applies them in order through its controls' setAttribute.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnix {

struct ViewRow {
    std::string control;
    std::string attribute;
    std::string value;
    bool operator==(const ViewRow&) const = default;
};

using ViewRows = std::vector<ViewRow>;

namespace viewattr {
inline constexpr const char* Visible = "visible";
inline constexpr const char* Enabled = "enabled";
inline constexpr const char* Selected = "selected"; // options and check boxes; never notifies
inline constexpr const char* Text = "text";
inline constexpr const char* Value = "value"; // sliders
inline constexpr const char* Max = "max";     // sliders
inline constexpr const char* BkColor = "bkcolor";
inline constexpr const char* SelectedItem = "selecteditem"; // drop-downs: the item of this name
} // namespace viewattr

inline std::string viewBool(bool on) {
    return on ? "true" : "false";
}

// "#AARRGGBB", as the skin writes colours.
std::string viewColour(std::uint32_t argb);

// Appends rows.
inline void appendRows(ViewRows& rows, const ViewRows& more) {
    rows.insert(rows.end(), more.begin(), more.end());
}

} // namespace varnix
