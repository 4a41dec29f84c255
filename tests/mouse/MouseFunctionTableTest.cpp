// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse page's function texts read from its language file, good and bad.
#include "mouse/MouseFunctionTable.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

using test::DiagnosticCapture;
using test::TempDir;
using test::testDataDir;
using test::writeTextFile;
using Row = MouseFunctionTable::Row;
using LoadResult = MouseFunctionTable::LoadResult;

TEST(MouseFunctionTableTest, ReadsCodesAndTextsAndSkipsRowsItCannotRead) {
    DiagnosticCapture capture;
    MouseFunctionTable table;
    std::string problems;
    ASSERT_EQ(table.load(testDataDir() / "LanguageText.json", &problems), LoadResult::Loaded);

    const std::map<int, Row> expected = {
        {0, {"Disabled", "Off"}}, // no digits: code 0
        {1, {"Left Click", "Left"}},
        {2, {"Right Click", "Right"}},
        {3, {"Middle Click", "Middle"}},
        {4, {"Back", "Back"}},     // "04" comes later in the file and is dropped
        {9, {"Fire Key", "Fire"}}, // leading digits of "9x"
        {16, {"DPI Loop", "DPI"}},
        {255, {"No Function", "None"}},
    };
    EXPECT_EQ(table.rows(), expected);
    EXPECT_EQ(table.secondText(3), "Middle");
    EXPECT_EQ(table.firstText(3), "Middle Click");
    EXPECT_EQ(table.secondText(255), "None");
    for (int code : {5, 17, 18, 19, -1, 256, 100000})
        EXPECT_EQ(table.secondText(code), "Unknown Key") << code;
    EXPECT_EQ(table.firstText(17), "Unknown Key");

    // Each skipped row is reported.
    for (const char* name : {"\"99999999999\"", "\"17\"", "\"18\"", "\"19\""})
        EXPECT_NE(problems.find(name), std::string::npos) << name;
    EXPECT_EQ(capture.debug(), problems);
}

TEST(MouseFunctionTableTest, UnreadableFilesKeepThePreviousRows) {
    DiagnosticCapture capture;
    TempDir dir;
    MouseFunctionTable table;
    ASSERT_EQ(table.load(testDataDir() / "LanguageText.json"), LoadResult::Loaded);
    const auto loaded = table.rows();

    EXPECT_EQ(table.load(dir / "missing.json"), LoadResult::FileMissing);
    EXPECT_EQ(table.rows(), loaded);

    writeTextFile(dir / "broken.json", R"({"MouseFunctionText": {"1": ["a", "b", "c", "d"])");
    EXPECT_EQ(table.load(dir / "broken.json"), LoadResult::ParseError);
    EXPECT_EQ(table.rows(), loaded);
    EXPECT_NE(capture.debug().find("broken.json"), std::string::npos);

    MouseFunctionTable fresh;
    EXPECT_EQ(fresh.load(dir / "missing.json"), LoadResult::FileMissing);
    EXPECT_TRUE(fresh.rows().empty());
    EXPECT_EQ(fresh.secondText(1), "Unknown Key");
}

TEST(MouseFunctionTableTest, WrongShapesEmptyTheTable) {
    DiagnosticCapture capture;
    TempDir dir;
    struct Case {
        const char* text;
        LoadResult result;
    };
    const Case cases[] = {
        {R"({"MouseFunctionText": ["1", "2"]})", LoadResult::WrongType},
        {R"({"MouseFunctionText": "1"})", LoadResult::WrongType},
        {R"({"MouseFunctionText": null})", LoadResult::WrongType},
        {R"([{"MouseFunctionText": {}}])", LoadResult::WrongType},
        {R"(42)", LoadResult::WrongType},
        {R"({"Other": {}})", LoadResult::Loaded},
        {R"({"MouseFunctionText": {}})", LoadResult::Loaded},
    };
    for (const Case& c : cases) {
        MouseFunctionTable table;
        ASSERT_EQ(table.load(testDataDir() / "LanguageText.json"), LoadResult::Loaded);
        writeTextFile(dir / "case.json", c.text);
        std::string problems;
        EXPECT_EQ(table.load(dir / "case.json", &problems), c.result) << c.text;
        EXPECT_TRUE(table.rows().empty()) << c.text;
        EXPECT_EQ(table.secondText(1), "Unknown Key") << c.text;
        if (c.result == LoadResult::WrongType) {
            EXPECT_NE(problems.find("not"), std::string::npos) << c.text;
        }
    }
}

} // namespace
} // namespace varnix
