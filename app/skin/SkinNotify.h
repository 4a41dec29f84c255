// SPDX-License-Identifier: GPL-3.0-or-later
// One notification of a skin control: type name, sender and two parameters.
#pragma once

#include <QString>
#include <QtGlobal>

namespace varnix {

class SkinControl;

// Notification type names as the windows and pages compare them.
namespace notify {
inline constexpr const char* WindowInit = "windowinit";
inline constexpr const char* Click = "click";
inline constexpr const char* SelectChanged = "selectchanged";
inline constexpr const char* ItemSelect = "itemselect";
inline constexpr const char* ItemClick = "itemclick";
inline constexpr const char* ItemRClick = "itemrclick";
inline constexpr const char* TreeItemDbClick = "treeitemdbclick";
inline constexpr const char* ValueChanged = "valuechanged";
inline constexpr const char* MoveValueChanged = "movevaluechanged";
inline constexpr const char* SetFocus = "setfocus";
inline constexpr const char* KillFocus = "killfocus";
inline constexpr const char* TextChanged = "textchanged";
inline constexpr const char* MouseEnter = "mouseenter";
inline constexpr const char* MouseLeave = "mouseleave";
inline constexpr const char* Return = "return";
inline constexpr const char* PreDropDown = "predropdown";
inline constexpr const char* DropDown = "dropdown";
inline constexpr const char* TabSelect = "tabselect";
} // namespace notify

struct SkinNotify {
    QString type;
    QString senderName;
    SkinControl* sender = nullptr; // null for notifications raised without a control
    qintptr wParam = 0;
    qintptr lParam = 0;
};

} // namespace varnix
