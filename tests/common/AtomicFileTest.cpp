// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/AtomicFile.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

// A pid that no process holds: a child that has been reaped.
pid_t deadPid() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(AtomicFileTest, TheNextWriteRemovesTemporaryFilesOfKilledWritersOnly) {
    namespace fs = std::filesystem;
    test::TempDir dir;
    const std::string dead = std::to_string(deadPid());
    const std::string alive = std::to_string(::getpid());
    const std::string deadFile = ".macroConfig.json.vxtmp-" + dead + "-a1b2c3";
    const std::string oldFile = ".macroConfig.json.vxtmp-" + alive + "-d4e5f6";
    const std::string freshFile = ".macroConfig.json.vxtmp-" + alive + "-g7h8i9";
    const std::string others[] = {".macroConfig.json.a1b2c3", ".vxtmp-" + dead + "-abcdef.txt",
                                  "notes.vxtmp-" + dead + "-abcdef"};
    for (const std::string& name : {deadFile, oldFile, freshFile})
        test::writeTextFile(dir / name, "partial");
    for (const std::string& name : others)
        test::writeTextFile(dir / name, "someone else's");
    fs::last_write_time(dir / oldFile, fs::file_time_type::clock::now() - StaleTemporaryAge -
                                           std::chrono::minutes(1));

    ASSERT_TRUE(writeFileAtomically(dir / "macroConfig.json", "{}"));
    EXPECT_FALSE(fs::exists(dir / deadFile)); // its writer is gone
    EXPECT_FALSE(fs::exists(dir / oldFile));  // older than any write
    EXPECT_TRUE(fs::exists(dir / freshFile)); // a running writer may still use it
    for (const std::string& name : others)
        EXPECT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_EQ(removeStaleTemporaryFiles(dir.path()), 0);
}

TEST(AtomicFileTest, TemporaryNamesCarryTheWriterPid) {
    const std::string name = temporaryFileName("/x/KBconfig.json");
    EXPECT_EQ(name, ".KBconfig.json.vxtmp-" + std::to_string(::getpid()) + "-XXXXXX");
}

} // namespace
} // namespace varnix
