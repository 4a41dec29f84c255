// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl as a user runs it: output lines, exit codes, environment and options.
#include "tests/support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace varnix {
namespace {

using ::testing::HasSubstr;

using Result = test::CommandResult;

// Runs varnixctl through the shell with a copy of the shipped resources as its root.
class CliTest : public ::testing::Test {
protected:
    CliTest() {
        fs::copy(test::sourceResDir(), res.path(), fs::copy_options::recursive);
    }

    Result run(const std::string& arguments, const std::string& environment = "") {
        const std::string command = "env -u VARNIX_BACKEND -u VARNIX_SIM -u VARNIX_RES -u VARNIX_DEBUG " +
                                    environment + " '" VARNIXCTL_PATH "' --res '" +
                                    res.path().string() + "' " + arguments;
        return test::runShellCommand(command);
    }

    test::TempDir res;
};

TEST_F(CliTest, DevicesListsTheDemoDevicesAsConnected) {
    const Result result = run("--backend sim --sim '" + (res / "sim/demo.json").string() + "' devices");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("0 Mouse 1441 \"Tavro_Quenra-Rum1\" MouseA 1\n"));
    EXPECT_THAT(result.out, HasSubstr("1 Mouse 1441 \"Tavro_Quenra-Rum2\" MouseB 0\n"));
    EXPECT_THAT(result.out, HasSubstr("5 Keyboard 2351 \"Tavro_Quenra-Sel1\" KeyboardA 1\n"));
    EXPECT_THAT(result.out, HasSubstr("8 Pad 3031 \"Tavro_Quenra-Wel1\" PadA 1\n"));
    // The catalogue's unpacking is developer trace: shown only when asked for.
    EXPECT_EQ(result.err, "");
    const Result traced = run("--backend sim --sim '" + (res / "sim/demo.json").string() + "' devices",
                              "VARNIX_DEBUG=1");
    EXPECT_THAT(traced.err, HasSubstr("Start Unzip..."));
}

TEST_F(CliTest, ImageCommandsKeepStderrForErrorsOnly) {
    const Result result =
        run("--backend sim --sim '" + (res / "sim/demo.json").string() + "' image pad --device 8");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
}

TEST_F(CliTest, EnvironmentChoosesTheBackendAndOptionsOverrideIt) {
    const std::string env = "VARNIX_BACKEND=sim VARNIX_SIM='" + (res / "sim/demo.json").string() + "'";
    EXPECT_THAT(run("devices", env).out, HasSubstr("Tavro_Quenra-Sel1\" KeyboardA 1"));
    const Result overridden = run("--sim /nonexistent/scenario.json devices", env);
    EXPECT_EQ(overridden.status, 2);
    EXPECT_THAT(overridden.err, HasSubstr("cannot read scenario file /nonexistent/scenario.json"));
}

TEST_F(CliTest, BadInputGivesOneLineAndExitStatusTwo) {
    test::writeTextFile(res / "bad.json", R"({"devices": [{"vid": 1}]})");
    const std::pair<std::string, std::string> cases[] = {
        {"--frobnicate devices", "unknown option --frobnicate"},
        {"--backend usb devices", "--backend takes hidapi or sim"},
        {"", "no command given"},
        {"explode", "unknown command explode"},
        {"--backend sim --sim '" + (res / "bad.json").string() + "' devices", "needs \"vid\" and \"pid\""},
        {"--backend sim devices extra", "devices takes no arguments"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_THAT(result.err, HasSubstr(message)) << arguments;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}

TEST_F(CliTest, KeyNamesFollowTheNamedLayout) {
    const std::pair<const char*, const char*> names[] = {
        {"--layout us 0x15", "Y\n"}, {"--layout de 0x15", "Z\n"}, {"--layout de 21", "Z\n"},
        {"--layout fr 0x10", "A\n"}, {"--layout us 0x01", "Escape\n"},
    };
    for (const auto& [arguments, name] : names) {
        const Result result = run(std::string("keyname ") + arguments);
        EXPECT_EQ(result.status, 0) << arguments << result.err;
        EXPECT_EQ(result.out, name) << arguments;
    }
    const Result catalogue = run("keyfunctions --layout de");
    ASSERT_EQ(catalogue.status, 0) << catalogue.err;
    EXPECT_THAT(catalogue.out, HasSubstr("0x1D\tNull\tItemValue0x_\tY\n"));
    EXPECT_THAT(catalogue.out, HasSubstr("0xFF\tKEY_NULL\tItemValue0xFF_NoFunction\tNo Function\n"));
    EXPECT_THAT(catalogue.out, ::testing::Not(HasSubstr("0x03\t")));
    for (const char* bad : {"keyname --layout us", "keyname --layout us 0xZZ", "keyname 0x15",
                            "keyname --layout nosuchlayout 0x15", "keyfunctions --layout us x"}) {
        const Result result = run(bad);
        EXPECT_EQ(result.status, 2) << bad;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}

} // namespace
} // namespace varnix
