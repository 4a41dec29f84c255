// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LanguageFile.h"

#include <algorithm>

namespace varnix {
namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

struct SplitLine {
    std::string key;
    std::string value;
};

// The lines of a section as the program reads them: each cut to the line buffer and split at
// its first "="; lines without "=" carry nothing and are skipped.
std::vector<SplitLine> splitSection(const IniFile& ini, std::string_view section) {
    std::vector<SplitLine> result;
    for (const std::string& line : ini.sectionLines(section)) {
        const std::string cut = IniFile::fitToBuffer(line, languagefile::SectionLineBuffer);
        const auto equals = cut.find('=');
        if (equals == std::string::npos)
            continue;
        result.push_back({cut.substr(0, equals), cut.substr(equals + 1)});
    }
    return result;
}

} // namespace

LanguageFile LanguageFile::read(const std::filesystem::path& file) {
    return fromIni(IniFile(file));
}

LanguageFile LanguageFile::fromIni(const IniFile& ini) {
    using namespace languagefile;
    LanguageFile language;
    language.windowName = ini.getString(WindowNameSection, WindowNameKey);
    language.fontName = ini.getString(FontNameSection, FontNameKey);
    for (const SplitLine& line : splitSection(ini, FontSizeSection))
        language.fontSizes.emplace(IniFile::toInt(line.key), IniFile::toInt(line.value));

    auto readTexts = [&](std::string_view section) {
        auto& texts = language.texts_[lowered(section)];
        for (const SplitLine& line : splitSection(ini, section))
            texts.emplace(lowered(line.key), line.value);
    };
    for (std::string_view section : TextSections)
        readTexts(section);
    for (std::string_view section : MessageSections)
        readTexts(section);

    for (const SplitLine& line : splitSection(ini, ControlsSection)) {
        ControlsEntry entry;
        entry.controlName = line.key;
        const auto comma = line.value.find(',');
        entry.kind = trim(std::string_view(line.value).substr(0, comma));
        if (comma != std::string::npos)
            entry.number = IniFile::toInt(std::string_view(line.value).substr(comma + 1));
        language.controls.push_back(std::move(entry));
    }
    return language;
}

std::optional<std::string> LanguageFile::text(std::string_view section, std::string_view id) const {
    const auto texts = texts_.find(lowered(section));
    if (texts == texts_.end())
        return std::nullopt;
    const auto found = texts->second.find(lowered(id));
    if (found == texts->second.end())
        return std::nullopt;
    return found->second;
}

ControlsAction LanguageFile::actionFor(const ControlsEntry& entry) {
    using namespace languagefile;
    ControlsAction action{entry.controlName, ControlWidthAction::Unchanged, 0};
    if (entry.kind == LabelKind && entry.number == 0) {
        action.action = ControlWidthAction::FitToText;
    } else if ((entry.kind == LabelKind || entry.kind == OptionKind || entry.kind == ButtonKind ||
                entry.kind == EditKind) &&
               entry.number != 0) {
        action.action = ControlWidthAction::FixedWidth;
        action.width = entry.number;
    }
    return action;
}

std::vector<ControlsAction> LanguageFile::controlsActions() const {
    using namespace languagefile;
    std::vector<ControlsAction> actions;
    for (std::string_view kind : {OptionKind, LabelKind, ButtonKind, EditKind})
        for (const ControlsEntry& entry : controls)
            if (entry.kind == kind)
                actions.push_back(actionFor(entry));
    return actions;
}

} // namespace varnix
