// SPDX-License-Identifier: GPL-3.0-or-later
// The version window's files and label.
#include "update/VersionRecord.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

TEST(VersionRecordTest, LocalAndServerFilesFillTheRecord) {
    test::TempDir dir;
    VersionRecord record;
    test::writeTextFile(dir / "Local.json", R"({"LocalVersion": {"CurVersion": "1.2.0",
        "SeverCenterURL": "https://example.invalid/SeverVersion.json"}})");
    test::writeTextFile(dir / "Server.json", R"({"SeverVersion": {"MaxVersion": "1.3.1"}})");
    ASSERT_TRUE(test::isOk(readLocalVersion(dir / "Local.json", record)));
    ASSERT_TRUE(test::isOk(readServerVersion(dir / "Server.json", record)));
    EXPECT_EQ(record.serverUrl, "https://example.invalid/SeverVersion.json");
    EXPECT_EQ(record.currentVersion, "1.2.0");
    EXPECT_EQ(record.latestVersion, "1.3.1");
}

TEST(VersionRecordTest, BrokenFilesKeepTheRecord) {
    test::TempDir dir;
    VersionRecord record{"u", "1.0", "2.0"};
    EXPECT_EQ(readServerVersion(dir / "none.json", record).status, Status::Missing);
    for (const char* text :
         {"{", R"({"SeverVersion": 3})", R"({"SeverVersion": {"MaxVersion": 3}})",
          R"({"Other": {"MaxVersion": "9"}})"}) {
        SCOPED_TRACE(text);
        test::writeTextFile(dir / "s.json", text);
        EXPECT_EQ(readServerVersion(dir / "s.json", record).status, Status::Invalid);
    }
    // A local file lacking one member changes neither.
    test::writeTextFile(dir / "l.json", R"({"LocalVersion": {"CurVersion": "5"}})");
    EXPECT_EQ(readLocalVersion(dir / "l.json", record).status, Status::Invalid);
    EXPECT_EQ(record.currentVersion, "1.0");
    EXPECT_EQ(record.latestVersion, "2.0");
}

TEST(VersionRecordTest, LabelPutsTheCurrentVersionFirst) {
    const VersionRecord record{"", "1.0%s", "2.0"};
    EXPECT_EQ(versionLabelText("当前版本%s，最新版本：%s", record), "当前版本1.0%s，最新版本：2.0");
    EXPECT_EQ(versionLabelText("v%s", record), "v1.0%s");
    EXPECT_EQ(versionLabelText("100% %s %s %s", record), "100% 1.0%s 2.0 %s");
    EXPECT_EQ(versionLabelText("当前版本%s，最新版本：%s", VersionRecord{}),
              "当前版本，最新版本：");
}

} // namespace
} // namespace varnix
