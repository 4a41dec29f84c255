// SPDX-License-Identifier: GPL-3.0-or-later
// The text the UI shows for a control whose skin names a text id.
#pragma once

#include "app/LanguageFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnix {

// Pages of the main tab layout "tab_main".
inline constexpr int PublicLedMainPage = 0;
inline constexpr int MacroMainPage = 1;
inline constexpr int FirstDeviceMainPage = 2;

// The page text section asked after "OthersUI": shared lighting on page 0, macros on page 1,
// and on the device pages that of the selected device's type (mouse, keyboard, else pad).
// Empty for no selected page (a negative index).
std::string_view pageTextSection(int selectedMainPage, std::int32_t selectedDeviceType);

// "OthersUI" first, then the page's section; ids compared ignoring case. Nothing when neither
// has the id: the control keeps the text of its skin.
std::optional<std::string> QueryControlText(const LanguageFile& language, std::string_view textId,
                                            int selectedMainPage, std::int32_t selectedDeviceType);

} // namespace varnix
