// SPDX-License-Identifier: GPL-3.0-or-later
// One language file: window title, UI font, control texts, message texts, width fixes.
#pragma once

#include "common/IniFile.h"

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnix {

namespace languagefile {
inline constexpr std::string_view WindowNameSection = "WindowName";
inline constexpr std::string_view WindowNameKey = "WindowName";
inline constexpr std::string_view FontNameSection = "FontName";
inline constexpr std::string_view FontNameKey = "FontName";
inline constexpr std::string_view FontSizeSection = "FontSize";
inline constexpr std::string_view ControlsSection = "Controls";
// Control texts valid on every page, then those of each page and popup.
inline constexpr std::string_view OthersUI = "OthersUI";
inline constexpr std::string_view PublicLedUI = "PublicLedUI";
inline constexpr std::string_view MacroUI = "MacroUI";
inline constexpr std::string_view MouseUI = "MouseUI";
inline constexpr std::string_view KeyboardUI = "KeyboardUI";
inline constexpr std::string_view PadUI = "PadUI";
inline constexpr std::string_view KeyboardPopUI = "KeyboardPopUI";
inline constexpr std::string_view MacroPopUI = "MacroPopUI";
inline constexpr std::array<std::string_view, 8> TextSections{
    OthersUI, PublicLedUI, MacroUI, MouseUI, KeyboardUI, PadUI, KeyboardPopUI, MacroPopUI};
// Message texts of each page.
inline constexpr std::array<std::string_view, 5> MessageSections{"Mouse", "Keyboard", "Macro",
                                                                 "Pad", "PublicLed"};
// Section lines are read into a line buffer of this many characters (NUL included):
// a longer line is cut to 199 characters.
inline constexpr std::size_t SectionLineBuffer = 200;
// Kinds of the "Controls" lines.
inline constexpr std::string_view OptionKind = "option";
inline constexpr std::string_view LabelKind = "label";
inline constexpr std::string_view ButtonKind = "button";
inline constexpr std::string_view EditKind = "edit";
} // namespace languagefile

// One "Controls" line: control name = kind , number.
struct ControlsEntry {
    std::string controlName;
    std::string kind;
    int number = 0;
    bool operator==(const ControlsEntry&) const = default;
};

enum class ControlWidthAction {
    Unchanged,  // leave the control as the skin made it
    FixedWidth, // give the control the fixed width `width`
    FitToText,  // resize the control to its text, keeping its left and top
};

struct ControlsAction {
    std::string controlName;
    ControlWidthAction action = ControlWidthAction::Unchanged;
    int width = 0;
    bool operator==(const ControlsAction&) const = default;
};

class LanguageFile {
public:
    std::string windowName;
    std::string fontName;
    std::map<int, int> fontSizes; // UI font number -> size
    std::vector<ControlsEntry> controls;

    // A missing file gives an empty language: no title, no texts, no font changes.
    static LanguageFile read(const std::filesystem::path& file);
    static LanguageFile fromIni(const IniFile& ini);

    // The text of an id in one text or message section, compared ignoring case.
    std::optional<std::string> text(std::string_view section, std::string_view id) const;

    // What one "Controls" line asks for: option, button and edit get a fixed width when the
    // number is not 0; a label is fitted to its text for 0, else gets the fixed width; other
    // kinds change nothing.
    static ControlsAction actionFor(const ControlsEntry& entry);
    // The actions of all lines in the order they are applied: options, labels, buttons, edits,
    // each kind in file order; lines of other kinds are left out.
    std::vector<ControlsAction> controlsActions() const;

private:
    // Section name (lower case) -> text id (lower case) -> text; the first line of an id wins.
    std::map<std::string, std::map<std::string, std::string>> texts_;
};

} // namespace varnix
