// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LanguageTable.h"

#include <algorithm>

namespace varnix {

const std::array<LanguageEntry, LanguageTable::Count>& LanguageTable::entries() {
    static constexpr std::array<LanguageEntry, Count> table{{
        {0, "lan_cn", "lan_cn.ini"},      {1, "lan_en", "lan_en.ini"},
        {2, "lan_fr", "lan_fr.ini"},      {3, "lan_bili", "lan_bili.ini"},
        {4, "lan_de", "lan_de.ini"},      {5, "lan_sp", "lan_sp.ini"},
        {6, "lan_it", "lan_it.ini"},      {7, "lan_ru", "lan_ru.ini"},
        {8, "lan_tu", "lan_tu.ini"},      {9, "lan_po", "lan_po.ini"},
        {10, "lan_th", "lan_th.ini"},     {11, "lan_kr", "lan_kr.ini"},
        {12, "lan_jp", "lan_jp.ini"},     {13, "lan_ar", "lan_ar.ini"},
        {14, "lan_pl", "lan_pl.ini"},     {15, "lan_cz", "lan_cz.ini"},
        {16, "lan_se", "lan_se.ini"},     {17, "lan_nl", "lan_nl.ini"},
        {18, "lan_pobr", "lan_pobr.ini"}, {19, "lan_cntw", "lan_cntw.ini"},
        {20, "lan_nlbe", "lan_nlbe.ini"}, {21, "lan_da", "lan_da.ini"},
        {22, "lan_sl", "lan_sl.ini"},
    }};
    return table;
}

std::string_view LanguageTable::fileName(int index) {
    if (index < 0 || index >= Count)
        index = EnglishIndex;
    return entries()[static_cast<std::size_t>(index)].file;
}

std::optional<int> LanguageTable::indexForMenuItem(std::string_view menuItem) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    for (const LanguageEntry& entry : entries()) {
        if (entry.menuItem.size() == menuItem.size() &&
            std::equal(menuItem.begin(), menuItem.end(), entry.menuItem.begin(),
                       [&](char a, char b) { return lower(a) == lower(b); }))
            return entry.index;
    }
    return std::nullopt;
}

} // namespace varnix
