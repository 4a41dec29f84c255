// SPDX-License-Identifier: GPL-3.0-or-later
// A macro store on a scratch resource root.
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
    MacroStoreFixture() : store(root.path()) {}

    std::filesystem::path macroFile() const { return store.filePath; }
    std::string macroFileText() const { return readTextFile(store.filePath); }

    // A store with one group "Work" holding one empty macro "M", selected as current.
    void makeOneMacro() {
        ASSERT_TRUE(isOk(store.AddGroup(-1, "Work")));
        ASSERT_TRUE(isOk(store.AddMacro(0, -1, "M")));
    }

    // Reloads a second store from the same file, as the next start would.
    MacroStore reloaded() const {
        MacroStore again(root.path());
        EXPECT_TRUE(isOk(again.LoadMacroFile()));
        return again;
    }

    TempDir root;
    MacroStore store;
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
