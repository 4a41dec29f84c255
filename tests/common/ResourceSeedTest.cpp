// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ResourceSeed.h"

#include "common/ResourceRoot.h"
#include "tests/support/TestSupport.h"

#include <chrono>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace varnix {
namespace {

using test::readTextFile;
using test::writeTextFile;

// A small installed tree: a settings file the user edits, a skin, an image in a sub-folder.
struct SeedFixture : ::testing::Test {
    test::TempDir dir;
    fs::path installed = dir / "share/varnix/res";
    fs::path user = dir / "home/.local/share/varnix/res";
    SeedFixture() {
        writeTextFile(installed / "Set.ini", "[Setting]\nLanguage=English\n");
        writeTextFile(installed / "MainWnd.xml", "<Window version=\"1\"/>");
        writeTextFile(installed / "Skin/close.png", "PNG1");
    }
    // Marks a change of the installed tree as an upgrade would (new contents, newer time).
    void upgrade(const fs::path& relative, const std::string& text) {
        writeTextFile(installed / relative, text);
        fs::last_write_time(installed / relative,
                            fs::file_time_type::clock::now() + std::chrono::hours(1));
    }
    bool noStagingLeft() const {
        for (const auto& entry : fs::directory_iterator(user.parent_path()))
            if (entry.path().filename().string().starts_with(".seed-"))
                return false;
        return true;
    }
};

TEST_F(SeedFixture, AMissingOrEmptyFolderGetsTheWholeTreeAtOnce) {
    for (bool emptyFolderFirst : {false, true}) {
        SCOPED_TRACE(emptyFolderFirst ? "empty folder from a failed start" : "no folder");
        fs::remove_all(user);
        if (emptyFolderFirst)
            fs::create_directories(user / "Skin"); // what an interrupted copy left once
        const SeedReport report = seedUserTree(installed, user);
        EXPECT_TRUE(test::isOk(report.outcome));
        EXPECT_TRUE(report.freshCopy);
        EXPECT_EQ(report.added, 3);
        EXPECT_EQ(readTextFile(user / "Skin/close.png"), "PNG1");
        EXPECT_TRUE(fs::exists(user / kSeedManifestName));
        EXPECT_TRUE(noStagingLeft());
    }
    // Once complete, a start changes nothing.
    const SeedReport again = seedUserTree(installed, user);
    EXPECT_TRUE(test::isOk(again.outcome));
    EXPECT_EQ(again.added + again.updated + again.kept, 0);
}

TEST_F(SeedFixture, AHalfCopiedFolderIsCompletedWithoutTouchingWhatIsThere) {
    writeTextFile(user / "Set.ini",
                  "[Setting]\nLanguage=Deutsch\n"); // no record, two files missing
    const SeedReport report = seedUserTree(installed, user);
    EXPECT_TRUE(test::isOk(report.outcome));
    EXPECT_FALSE(report.freshCopy);
    EXPECT_EQ(report.added, 2);
    EXPECT_EQ(readTextFile(user / "Set.ini"), "[Setting]\nLanguage=Deutsch\n");
    EXPECT_EQ(readTextFile(user / "MainWnd.xml"), "<Window version=\"1\"/>");
    EXPECT_TRUE(fs::exists(user / kSeedManifestName));
}

TEST_F(SeedFixture, AnUpgradeReplacesUntouchedFilesAndKeepsTheUsersOwn) {
    ASSERT_TRUE(test::isOk(seedUserTree(installed, user).outcome));
    writeTextFile(user / "Set.ini", "[Setting]\nLanguage=Français\n"); // the user's choice
    writeTextFile(user / "MouseKorv/MouseA/Config/MouseConfig.json", "{\"x\":1}"); // written later
    upgrade("Set.ini", "[Setting]\nLanguage=English\nUpdateCheck=1\n");
    upgrade("MainWnd.xml", "<Window version=\"2\"/>");
    upgrade("Language/lan_de.ini", "[Main]\n");

    const SeedReport report = seedUserTree(installed, user);
    EXPECT_TRUE(test::isOk(report.outcome));
    EXPECT_EQ(report.added, 1);
    EXPECT_EQ(report.updated, 1);
    EXPECT_EQ(report.kept, 1);
    EXPECT_EQ(readTextFile(user / "Set.ini"), "[Setting]\nLanguage=Français\n");
    EXPECT_EQ(readTextFile(user / "MainWnd.xml"), "<Window version=\"2\"/>");
    EXPECT_EQ(readTextFile(user / "Language/lan_de.ini"), "[Main]\n");
    EXPECT_EQ(readTextFile(user / "MouseKorv/MouseA/Config/MouseConfig.json"), "{\"x\":1}");

    // The user's file stays the user's at the next upgrade too.
    upgrade("Set.ini", "[Setting]\nLanguage=English\nUpdateCheck=0\n");
    const SeedReport second = seedUserTree(installed, user);
    EXPECT_EQ(second.kept, 1);
    EXPECT_EQ(readTextFile(user / "Set.ini"), "[Setting]\nLanguage=Français\n");
}

TEST_F(SeedFixture, AFailedCopyIsReportedAndLeavesNothingHalfDone) {
    writeTextFile(dir / "home/blocked", "a file where the folder should go");
    const fs::path blockedUser = dir / "home/blocked/varnix/res";
    const SeedReport report = seedUserTree(installed, blockedUser);
    EXPECT_FALSE(report.outcome.ok());
    EXPECT_FALSE(report.outcome.detail.empty());
    EXPECT_FALSE(fs::exists(blockedUser));

    // Without an installed tree only a complete earlier copy is good enough.
    fs::remove_all(installed);
    EXPECT_EQ(seedUserTree(installed, user).outcome.status, Status::Missing);
    writeTextFile(user / kSeedManifestName, "varnix-seed 1\n1 2 3\n");
    EXPECT_TRUE(test::isOk(seedUserTree(installed, user).outcome));
}

TEST_F(SeedFixture, TheInstalledTreeIsFoundBesideTheProgramWhereverItWasInstalled) {
    EXPECT_EQ(installedResourceTree(dir / "share/../bin/varnix"), installed.lexically_normal());
    EXPECT_EQ(installedResourceTree(dir / "elsewhere/bin/varnix"),
              installedResourceTree(dir / "deep/er/nowhere/varnix"))
        << "without a tree beside the program the configured prefix is used";

    // The whole lookup with an empty home: the user's copy is made and used.
    test::ScopedEnvironment noRes("VARNIX_RES", nullptr);
    test::ScopedEnvironment xdg("XDG_DATA_HOME", (dir / "xdg").string());
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path()); // no ./res here
    Outcome seeding;
    const fs::path root = findResourceRoot(installed, &seeding);
    fs::current_path(previous);
    EXPECT_TRUE(test::isOk(seeding));
    EXPECT_EQ(root, dir / "xdg/varnix/res");
    EXPECT_EQ(readTextFile(root / "MainWnd.xml"), "<Window version=\"1\"/>");
}

} // namespace
} // namespace varnix
