// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl feature: the profile values of a catalogue row's model, and its usage errors.
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace varnix {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

using Result = test::CommandResult;

// Runs varnixctl on the simulated backend with a copy of the shipped resources as its root.
class FeatureCommandTest : public ::testing::Test {
protected:
    FeatureCommandTest() {
        fs::copy(test::sourceResDir(), res.path(), fs::copy_options::recursive);
    }

    Result run(const std::string& arguments) {
        const std::string command =
            "env -u VARNIX_BACKEND -u VARNIX_SIM -u VARNIX_RES -u VARNIX_DEBUG '" VARNIXCTL_PATH
            "' --backend sim --res '" +
            res.path().string() + "' feature " + arguments;
        return test::runShellCommand(command);
    }

    test::TempDir res;
};

TEST_F(FeatureCommandTest, KeyboardRowPrintsItsConfigAndCapacity) {
    test::writeTextFile(res / "KeyboardKorv/KeyboardA/Config/Config.ini",
                        "[Config1]\nEEP_CAP=3\nWIN_LOCK_SAVE_EN=1\nFN_W_ENB=0\nHR_LED_NUM=104\n");
    const Result result = run("keyboard --device 5");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "EEP_CAP=3\nRGBLED=RGB\nWIN_LOCK_SAVE_EN=1\nFN_W_ENB=0\n"
                          "HR_LED_NUM=104\ncapacity=4095\nledcount=104\n");
}

TEST_F(FeatureCommandTest, MouseRowPrintsEveryKeyAndTheLedTables) {
    const Result result = run("mouse --device 1"); // MouseB of the shipped catalogue
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<std::string> names;
    std::string ledData;
    std::size_t start = 0;
    while (start < result.out.size()) {
        const auto end = result.out.find('\n', start);
        const std::string line = result.out.substr(start, end - start);
        start = end + 1;
        names.push_back(line.substr(0, line.find('=')));
        if (line.starts_with("LED_DATA="))
            ledData = line.substr(9);
    }
    ASSERT_EQ(names.size(), 12u + 12u + 1u + 18u + 1u + 4u + 2u);
    EXPECT_EQ(names[0], "K1_MAP");
    EXPECT_EQ(names[12], "K1_DEF");
    EXPECT_EQ(names[24], "KeyNum");
    EXPECT_EQ(names[25], "BIG_MODE_EN");
    EXPECT_EQ(names[42], "CFG_LED_TYPE");
    EXPECT_EQ(names[43], "LED_DATA");
    EXPECT_EQ(names[44], "CFG_LED_0");
    EXPECT_EQ(names[48], "ledcount");
    EXPECT_EQ(names[49], "longhold");
    EXPECT_EQ(std::count(ledData.begin(), ledData.end(), ','), 67);
    EXPECT_THAT(result.out, HasSubstr("\nKeyNum=8\n"));
    EXPECT_THAT(result.out, HasSubstr("\nledcount=6\nlonghold=1\n"));
}

TEST_F(FeatureCommandTest, PadRowPrintsBrightnessAndLedCount) {
    test::writeTextFile(res / "PadKorv/PadB/Config/Setup.ini", "[Set]\nBrightMax=\n");
    const Result result = run("pad --device 9");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "HR_LED_NUM=20\nRGBLED=GRB\nBrightMax=\nbrightmax=7\nledcount=20\n");
}

TEST_F(FeatureCommandTest, WrongTypeIndexOrArgumentsAreUsageErrors) {
    const std::pair<const char*, const char*> cases[] = {
        {"mouse --device 5", "is a Keyboard"},
        {"keyboard --device 10", "no catalogue row 10"},
        {"pad --device -1", "catalogue index"},
        {"pad --device 8x", "catalogue index"},
        {"pad --device", "usage"},
        {"lamp --device 0", "mouse, keyboard or pad"},
        {"mouse 0", "usage"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_THAT(result.err, HasSubstr("varnixctl: ")) << arguments;
        EXPECT_THAT(result.err, HasSubstr(message)) << arguments;
        EXPECT_TRUE(result.out.empty()) << arguments;
    }
}

TEST_F(FeatureCommandTest, MissingProfileGivesTheDefaults) {
    fs::remove_all(res / "MouseKorv/MouseA/Config");
    const Result result = run("mouse --device 0");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, StartsWith("K1_MAP=0\n"));
    EXPECT_THAT(result.out, HasSubstr("\nLED_NUM=0\n"));
    EXPECT_THAT(result.out, HasSubstr("\nledcount=12\nlonghold=0\n"));
}

} // namespace
} // namespace varnix
