// SPDX-License-Identifier: GPL-3.0-or-later
// A macro store on a scratch resource root that records its message popups.
#pragma once

#include "macro/MacroFileFormat.h"
#include "macro/MacroStore.h"
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace varnix::test {

class MacroStoreFixture : public ::testing::Test {
protected:
    MacroStoreFixture() : store(root.path()) {
        store.messageBox = [this](const std::string& caption, const std::string& text) {
            messages.emplace_back(caption, text);
        };
    }

    std::filesystem::path macroFile() const { return store.filePath; }
    std::string macroFileText() const { return readTextFile(store.filePath); }

    // A store with one group "Work" holding one empty macro "M", selected as current.
    void makeOneMacro() {
        ASSERT_TRUE(store.AddGroup(-1, "Work"));
        ASSERT_TRUE(store.AddMacro(0, -1, "M"));
    }

    // Texts of the popups shown so far.
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& message : messages)
            texts.push_back(message.second);
        return texts;
    }

    // Reloads a second store from the same file, as the next start would.
    MacroStore reloaded() const {
        MacroStore again(root.path());
        EXPECT_TRUE(again.LoadMacroFile()) << again.lastError;
        return again;
    }

    TempDir root;
    MacroStore store;
    std::vector<std::pair<std::string, std::string>> messages;
};

// A .dat row: each byte as three decimal digits.
inline std::string datRow(const std::vector<std::uint8_t>& bytes) {
    std::string row;
    char group[4];
    for (const std::uint8_t byte : bytes) {
        std::snprintf(group, sizeof group, "%03u", static_cast<unsigned>(byte));
        row += group;
    }
    return row;
}

} // namespace varnix::test
