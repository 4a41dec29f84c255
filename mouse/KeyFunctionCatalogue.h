// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in names of every key function code and of the scroll-knob functions.
#pragma once

#include "mouse/KeyFunctionEntry.h"

#include <map>
#include <string>
#include <vector>

namespace varnix {

class KeyboardLayout;

// A model-specific key code (256 and above) and the code whose name it shows.
struct KeyCodeSubstitution {
    int fromCode = 0;
    int toCode = 0;
};

class KeyFunctionCatalogue {
public:
    static constexpr const char* kOrdinaryKeySymbol = "Null";
    static constexpr const char* kOrdinaryKeyItemValue = "ItemValue0x_";
    static constexpr const char* kOrdinaryKeyCaption = "Null";
    // Ordinary keys are looked for among the usages 0..kLastOrdinaryUsage.
    static constexpr int kLastOrdinaryUsage = 0xEF;
    static constexpr int kNoFunctionCode = 0xFF;
    // Every other function row carries its own code after "ItemValue0x"; "no function" does
    // too, so the keyboard page's selectors can tell it from every other entry.
    static constexpr const char* kNoFunctionItemValue = "ItemValue0xFF_NoFunction";
    // Codes from here on are model-specific and shown through a substitution.
    static constexpr int kFirstSubstitutedCode = 256;

    // Empties both tables and fills them again; ordinary keys are named under `layout`.
    void rebuildCatalogue(const KeyboardLayout& layout);
    // The same under the active keyboard layout.
    void rebuildCatalogue();

    // Display text of a key function code; codes of 256 and more first go through the first
    // matching substitution. "Unknown Key" when the code has no row.
    std::string keyDisplayName(int code,
                               const std::vector<KeyCodeSubstitution>& substitutions) const;
    // Display text of a scroll-knob function code, or "Unknown Key".
    std::string scrollDisplayName(int code) const;

    // All key functions and the scroll-knob functions, by ascending code.
    const std::map<int, KeyFunctionEntry>& keyFunctions() const { return keyFunctions_; }
    const std::map<int, KeyFunctionEntry>& scrollFunctions() const { return scrollFunctions_; }

private:
    std::map<int, KeyFunctionEntry> keyFunctions_;
    std::map<int, KeyFunctionEntry> scrollFunctions_;
};

} // namespace varnix
