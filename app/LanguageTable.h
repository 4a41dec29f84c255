// SPDX-License-Identifier: GPL-3.0-or-later
// The languages of the user interface: settings-menu item names and their language files.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace varnix {

struct LanguageEntry {
    int index;
    std::string_view menuItem; // name of the settings-menu item
    std::string_view file;     // file name inside LanguageTable::Folder
};

class LanguageTable {
public:
    static constexpr int Count = 23;
    static constexpr int EnglishIndex = 1;
    // Folder of the language files, as a resource name.
    static constexpr std::string_view Folder = "res/Language/";

    static const std::array<LanguageEntry, Count>& entries();
    // The file of a language index; any index outside the table gives the English file.
    static std::string_view fileName(int index);
    // The index of a menu item name, compared ignoring case; nothing for an unknown name.
    static std::optional<int> indexForMenuItem(std::string_view menuItem);
};

} // namespace varnix
