// SPDX-License-Identifier: GPL-3.0-or-later
// The hand-over to the updaters, with a fake "AutoUpdate" script in a temporary program folder.
#include "update/UpdaterLaunch.h"

#include "tests/support/TestSupport.h"
#include "tests/update/FakeUpdater.h"
#include "update/ProcessScan.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

namespace varnix {
namespace {

using test::TempDir;

TEST(UpdaterLaunchTest, SecondStartFindsTheRunningUpdaterAndStartsNoCopy) {
    test::FakeUpdater fake("AutoUpdate");
    ASSERT_TRUE(findProcessesByName("AutoUpdate").empty())
        << "another AutoUpdate of this user runs already";

    const LaunchResult first = StartAutoUpdater(fake.folder());
    ASSERT_EQ(first.kind, LaunchResult::Kind::Started) << first.detail;
    ASSERT_TRUE(fake.waitForStarts(1));
    EXPECT_EQ(fake.startedIds(), std::vector<pid_t>{first.pid});
    // Started in a session of its own, not as a child of this program.
    EXPECT_NE(::getsid(first.pid), ::getsid(0));
    EXPECT_EQ(::waitpid(first.pid, nullptr, WNOHANG), -1);

    const LaunchResult second = StartAutoUpdater(fake.folder());
    EXPECT_EQ(second.kind, LaunchResult::Kind::AlreadyRunning);
    EXPECT_EQ(second.pid, first.pid);
    EXPECT_EQ(fake.startedIds().size(), 1u);
    fake.stopAll();
    EXPECT_TRUE(findProcessesByName("AutoUpdate").empty());
}

TEST(UpdaterLaunchTest, MissingOrBrokenUpdaterIsSaid) {
    TempDir folder;
    // An empty process table: a fake updater another test runs at the same time must not count.
    TempDir noProcesses;
    EXPECT_EQ(StartAutoUpdater(folder.path(), noProcesses.path()).kind,
              LaunchResult::Kind::NotInstalled);
    EXPECT_EQ(StartUpgrader(folder.path()).kind, LaunchResult::Kind::NotInstalled);
    // Present but not executable.
    test::writeTextFile(folder / "Upgrade", "#!/bin/sh\n");
    const LaunchResult broken = StartUpgrader(folder.path());
    EXPECT_EQ(broken.kind, LaunchResult::Kind::Failed);
    EXPECT_NE(broken.detail.find("Upgrade"), std::string::npos);
}

TEST(ProcessScanTest, NamesAreComparedIgnoringCaseAndOnlyForTheUser) {
    // This test program itself is a running process.
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").filename().string();
    std::string upper = self;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::vector<pid_t> found = findProcessesByName(upper);
    EXPECT_NE(std::find(found.begin(), found.end(), ::getpid()), found.end());
    EXPECT_TRUE(findProcessesByName("no-such-process-name").empty());
    EXPECT_TRUE(findProcessesByName(self, "/nonexistent-proc").empty());
}

} // namespace
} // namespace varnix
