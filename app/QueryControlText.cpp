// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QueryControlText.h"

#include "device/DeviceRecord.h"

namespace varnix {

std::string_view pageTextSection(int selectedMainPage, std::int32_t selectedDeviceType) {
    using namespace languagefile;
    if (selectedMainPage < 0)
        return {};
    if (selectedMainPage == PublicLedMainPage)
        return PublicLedUI;
    if (selectedMainPage == MacroMainPage)
        return MacroUI;
    if (selectedDeviceType == DevTypeMouse)
        return MouseUI;
    if (selectedDeviceType == DevTypeKeyboard)
        return KeyboardUI;
    return PadUI;
}

std::optional<std::string> QueryControlText(const LanguageFile& language, std::string_view textId,
                                            int selectedMainPage, std::int32_t selectedDeviceType) {
    if (auto text = language.text(languagefile::OthersUI, textId))
        return text;
    const std::string_view section = pageTextSection(selectedMainPage, selectedDeviceType);
    if (section.empty())
        return std::nullopt;
    return language.text(section, textId);
}

} // namespace varnix
