// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl image keyboard, apply keyboard and macro-body as a user runs them.
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace varnix {
namespace {

using nlohmann::json;
using testing::HasSubstr;

using Result = test::CommandResult;

class KeyboardCliTest : public testing::Test {
protected:
    KeyboardCliTest() {
        fs::copy(test::sourceResDir(), res.path(), fs::copy_options::recursive);
        // F1 and F2 play the first two shipped macros, as in the golden image.
        const fs::path user = res / "KeyboardKorv/KeyboardA/Config/KBconfig.json";
        json config = json::parse(test::readTextFile(user));
        const json macros =
            json::parse(test::readTextFile(res / "MacroKorv/MacroData/macroConfig.json"));
        const json& group = macros.at("MacroGrpInfo").at(0);
        for (int i = 0; i < 2; ++i) {
            const std::string key = i == 0 ? "btn_KBKey_F1" : "btn_KBKey_F2";
            config["KBconfig"]["KBKey"][key][0] = 165 + i;
            config["KBconfig"]["KBKeyMacro"][key][0] = {
                {"grpGuid", group.at("GrpGuid")},
                {"macGuid", group.at("MacroInfo").at(i).at("MacroGuid")}};
        }
        test::writeTextFile(user, config.dump(4));
        test::writeTextFile(res / "group.Macro.Config", group.dump(4));
    }

    void scenario(int baseAddress) {
        test::writeTextFile(res / "kb.json",
                            "{\"devices\": [{\"vid\": 12625, \"pid\": 9041, \"product\": "
                            "\"Tavro_Quenra-Sel1\", \"base_address\": " +
                                std::to_string(baseAddress) + "}]}");
    }

    Result run(const std::string& arguments) {
        const std::string command =
            "env -u VARNIX_BACKEND -u VARNIX_SIM -u VARNIX_RES -u VARNIX_DEBUG '" VARNIXCTL_PATH
            "' --backend sim --sim '" +
            (res / "kb.json").string() + "' --res '" + res.path().string() + "' " + arguments;
        return test::runShellCommand(command);
    }

    test::TempDir res;
};

std::string withoutComments(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        if (!line.empty() && line[0] != '#')
            out += line + "\n";
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return out;
}

TEST_F(KeyboardCliTest, ImageWithBaseNeedsNoDeviceAndMatchesTheGoldenImage) {
    scenario(0);
    test::writeTextFile(res / "kb.json", "{\"devices\": []}");
    const Result result = run("image keyboard --device 5 --base 0");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, withoutComments(test::readTextFile(test::testDataDir() /
                                                             "keyboard/shipped-macros.image")));
}

TEST_F(KeyboardCliTest, ImageReadsTheBaseAddressFromTheDevice) {
    scenario(0x100);
    const Result result = run("image keyboard --device 5");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, testing::StartsWith("0100 70\n0101 FF\n"));
    EXPECT_THAT(result.out, HasSubstr("\n011C 48\n011D 01\n")); // matrix at 0x148
    EXPECT_TRUE(std::regex_match(result.out, std::regex("([0-9A-F]{4} [0-9A-F]{2}\n)+")));
}

TEST_F(KeyboardCliTest, ApplyWritesThroughTheApplyEngine) {
    scenario(0);
    const Result result = run("apply keyboard --device 5 --trace");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, testing::StartsWith("07 18 03 00 00 00 70 07\n"));
    EXPECT_TRUE(std::regex_match(result.out, std::regex("(07( [0-9A-F]{2}){7}\n)+")));
    EXPECT_THAT(result.out, HasSubstr("07 18 10")); // activation
    EXPECT_EQ(run("apply keyboard --device 5").out, "");
}

TEST_F(KeyboardCliTest, ApplyPastTheAddressLimitFailsWithTheCapacityMessage) {
    scenario(0x3EA0);
    const Result result = run("apply keyboard --device 5");
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("does not fit the device"));
    EXPECT_THAT(result.err, HasSubstr("0x4000"));
}

TEST_F(KeyboardCliTest, UsageErrors) {
    scenario(0);
    const std::pair<const char*, const char*> cases[] = {
        {"image keyboard", "needs --device INDEX"},
        {"image keyboard --device 0 --base 0x10000", "--base takes an address"},
        {"image keyboard --device 99 --base 0", "no device with index 99"},
        {"image keyboard --device 0 --base 0 --trace", "unknown argument --trace"},
        {"macro-body", "takes one group file"},
        {"macro-body /nonexistent", "cannot read group file"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_THAT(result.err, HasSubstr(message)) << arguments;
    }
}

TEST_F(KeyboardCliTest, MacroBodyPrintsEachMacroOfAGroupFile) {
    scenario(0);
    const Result result = run("macro-body '" + (res / "group.Macro.Config").string() + "'");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, testing::StartsWith("Copy n=4 size=10\n"
                                                "01 00 82 E0 82 06 02 06 01 E0\n"
                                                "Paste n=4 size=10\n"
                                                "01 00 82 E0 82 19 02 19 01 E0\n"));
}

} // namespace
} // namespace varnix
