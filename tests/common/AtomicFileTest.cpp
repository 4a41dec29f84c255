// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/AtomicFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

TEST(AtomicFileTest, ReplacesContentsAndLeavesNoTemporaryFiles) {
    test::TempDir dir;
    const auto file = dir / "config.json";
    ASSERT_TRUE(writeFileAtomically(file, "old"));
    ASSERT_TRUE(writeFileAtomically(file, "new contents"));
    EXPECT_EQ(readWholeFile(file).value(), "new contents");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(AtomicFileTest, FailureLeavesTheOldFileAndSaysWhy) {
    test::TempDir dir;
    const Outcome written = writeFileAtomically(dir / "missing" / "x.json", "data");
    EXPECT_FALSE(written);
    EXPECT_EQ(written.status, Status::WriteFailed);
    EXPECT_FALSE(written.detail.empty());
    EXPECT_FALSE(readWholeFile(dir / "missing" / "x.json").has_value());
}

} // namespace
} // namespace varnix
