// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl macros and macro-import on a scratch copy of the shipped resource tree.
#include "tests/macro/MacroTestSupport.h"

#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <regex>
#include <sys/wait.h>

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace varnix {
namespace {

using Result = test::CommandResult;

class MacroCliTest : public ::testing::Test {
protected:
    MacroCliTest() { fs::copy(test::sourceResDir(), res.path(), fs::copy_options::recursive); }

    Result run(const std::string& arguments) {
        const std::string command =
            "env -u VARNIX_BACKEND -u VARNIX_SIM -u VARNIX_RES -u VARNIX_DEBUG '" VARNIXCTL_PATH "' --res '" +
            res.path().string() + "' " + arguments;
        return test::runShellCommand(command);
    }

    fs::path macroFile() const { return res / "MacroKorv/MacroData/macroConfig.json"; }

    test::TempDir res;
    test::TempDir scratch;
};

TEST_F(MacroCliTest, MacrosListsTheShippedStore) {
    const Result result = run("macros");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "G 5D0C8A31-6F42-4B8E-9C17-2A4E6B1F0D01 \"Default\" 3\n"
                          "  M 7A1E5C02-3B6D-4F90-8E21-4C5D6E7F8A02 \"Copy\" items=4 rpt=0/1\n"
                          "  M 7A1E5C02-3B6D-4F90-8E21-4C5D6E7F8A03 \"Paste\" items=4 rpt=0/1\n"
                          "  M 7A1E5C02-3B6D-4F90-8E21-4C5D6E7F8A04 \"Undo\" items=4 rpt=0/1\n");
}

TEST_F(MacroCliTest, ImportAddsGroupsAfterTheLastOne) {
    // A group file exported from another store, with a name that needs escaping.
    {
        MacroStore other(scratch.path());
        ASSERT_TRUE(other.AddGroup(0, "Default"));
        ASSERT_TRUE(other.AddMacro(0, 0, "Say \"hi\" \U0001F44B"));
        ASSERT_TRUE(other.SetMacroRepeat(0, 0, MacroStore::OptionCycleUntilRelease, 5));
        ASSERT_TRUE(other.ExportGroup(0, scratch / "g.Macro.Config"));
    }
    const Result imported = run("macro-import '" + (scratch / "g.Macro.Config").string() + "'");
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_THAT(imported.out, StartsWith("G "));
    EXPECT_THAT(imported.out, HasSubstr(" \"Default0\" 1\n"));

    test::writeTextFile(scratch / "old.dat", "[Init]\nDAT_VER=3\n[Macros]\nmacroNum=1\n0=" +
                                                 test::datRow({'Z', 0, 0, 0}) + "\n");
    const Result dat = run("macro-import --model 2 '" + (scratch / "old.dat").string() + "'");
    ASSERT_EQ(dat.status, 0) << dat.err;

    const Result listed = run("macros");
    ASSERT_EQ(listed.status, 0) << listed.err;
    const std::regex groupLine("G [0-9A-F-]{36} \"([^\"]*)\" ([0-9]+)");
    std::vector<std::string> groups;
    for (auto it = std::sregex_iterator(listed.out.begin(), listed.out.end(), groupLine);
         it != std::sregex_iterator(); ++it)
        groups.push_back((*it)[1].str() + "/" + (*it)[2].str());
    EXPECT_EQ(groups, (std::vector<std::string>{"Default/3", "Default0/1",
                                                (scratch / "old").string() + "/1"}));
    EXPECT_THAT(listed.out, HasSubstr("\"Say \\\"hi\\\" \U0001F44B\" items=0 rpt=2/5\n"));
    EXPECT_THAT(listed.out, HasSubstr("  M "));
    EXPECT_THAT(listed.out, HasSubstr("\"Z\" items=0 rpt=0/0\n"));
}

TEST_F(MacroCliTest, RefusedImportsExitOneWithTheReasonAndChangeNothing) {
    const std::string before = test::readTextFile(macroFile());
    test::writeTextFile(scratch / "v2.dat", "[Init]\nDAT_VER=2\n[Macros]\nmacroNum=0\n");
    test::writeTextFile(scratch / "bad.Macro.Config", "{\"GrpGuid\": \"x\"}");
    const std::pair<std::string, std::string> cases[] = {
        {(scratch / "v2.dat").string(), "DAT_VER is 2"},
        {(scratch / "bad.Macro.Config").string(), "no \"GrpName\""},
        {(scratch / "missing.Macro.Config").string(), "cannot read"},
    };
    for (const auto& [file, reason] : cases) {
        const Result result = run("macro-import '" + file + "'");
        EXPECT_EQ(result.status, 1) << file;
        EXPECT_THAT(result.err, HasSubstr(reason)) << file;
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_EQ(test::readTextFile(macroFile()), before);
}

TEST_F(MacroCliTest, AnUnreadableStoreIsNeitherListedNorOverwritten) {
    test::writeTextFile(macroFile(), "{\"MacroGrpInfo\": [");
    test::writeTextFile(scratch / "g.Macro.Config", "{}");
    const Result listed = run("macros");
    EXPECT_EQ(listed.status, 1);
    EXPECT_THAT(listed.err, HasSubstr("parse error"));
    const Result imported = run("macro-import '" + (scratch / "g.Macro.Config").string() + "'");
    EXPECT_EQ(imported.status, 1);
    EXPECT_THAT(imported.err, HasSubstr("nothing imported"));
    EXPECT_EQ(test::readTextFile(macroFile()), "{\"MacroGrpInfo\": [");
}

TEST_F(MacroCliTest, AFreshRootWithoutAMacroFileListsNothing) {
    fs::remove_all(res / "MacroKorv");
    const Result result = run("macros");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
}

TEST_F(MacroCliTest, UsageErrorsExitTwo) {
    const std::pair<std::string, std::string> cases[] = {
        {"macros extra", "macros takes no arguments"},
        {"macro-import", "needs a file"},
        {"macro-import a b", "takes one file"},
        {"macro-import --model", "needs a model code"},
        {"macro-import --model x a.dat", "takes a number"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_THAT(result.err, HasSubstr(message)) << arguments;
    }
}

} // namespace
} // namespace varnix
