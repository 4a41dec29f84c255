// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl image/apply for mice, pads and the shared lighting on the simulated demo devices.
#include "mouse/MouseModelImage.h"
#include "tests/support/DemoCliFixture.h"

#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace varnix {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

using Result = test::CommandResult;

using test::DemoMouse;
using test::DemoPad;

class DeviceKindCliTest : public test::DemoCliFixture {
protected:
    static std::vector<std::string> lines(const std::string& text) {
        std::vector<std::string> out;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            out.push_back(text.substr(start, end - start));
        return out;
    }
};

TEST_F(DeviceKindCliTest, ImageMousePrintsTheImageOfTheSavedModel) {
    const Result result = run("image mouse --device " + std::to_string(DemoMouse));
    ASSERT_EQ(result.status, 0) << result.err;
    const auto expected = MouseModelImage::build(res.path(), res.path() / "MouseKorv/MouseA");
    ASSERT_TRUE(expected) << expected.outcome().detail;
    EXPECT_EQ(result.out, expected->toText());
    EXPECT_THAT(result.out, StartsWith("0001 03\n0008 01\n"));
}

TEST_F(DeviceKindCliTest, ImagePadPrintsTheShippedPadImage) {
    const Result result = run("image pad --device " + std::to_string(DemoPad));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, test::readTextFile(test::testDataDir() / "pad/defaults.image"));
}

TEST_F(DeviceKindCliTest, ApplyTracesEndWithActivation) {
    for (const std::string kind : {"mouse --device 0", "pad --device 8"}) {
        const Result result = run("apply " + kind + " --trace");
        ASSERT_EQ(result.status, 0) << kind << ": " << result.err;
        const std::vector<std::string> frames = lines(result.out);
        ASSERT_FALSE(frames.empty());
        for (const std::string& frame : frames)
            EXPECT_EQ(frame.size(), 23u) << frame;
        EXPECT_THAT(result.out, HasSubstr("07 18 10 00 00 00 00 00")) << kind;
    }
}

TEST_F(DeviceKindCliTest, ApplySharedWritesEveryConnectedDevice) {
    const Result result = run("apply shared --trace");
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<std::string> devices;
    for (const std::string& line : lines(result.out))
        if (line.starts_with("DEVICE"))
            devices.push_back(line);
    EXPECT_EQ(devices, (std::vector<std::string>{"DEVICE 0", "DEVICE 5", "DEVICE 8"}));
    const Result one = run("apply shared --device 8 --trace");
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_THAT(one.out, StartsWith("DEVICE 8\n"));
    EXPECT_EQ(one.out.find("DEVICE 0"), std::string::npos);
}

TEST_F(DeviceKindCliTest, ApplySharedFailsWhenNoDeviceWasWritten) {
    // Row 1 is a mouse model that is not connected in the demo scenario.
    const Result one = run("apply shared --device 1");
    EXPECT_EQ(one.status, 1) << one.out;
    EXPECT_THAT(one.err, HasSubstr("no connected device"));
}

TEST_F(DeviceKindCliTest, BadArguments) {
    const std::vector<std::pair<std::string, int>> cases{
        {"image", 2},
        {"image toaster --device 0", 2},
        {"image mouse", 2},
        {"image mouse --device 8", 2}, // a pad
        {"image pad --device 0", 2},   // a mouse
        {"image mouse --device 99", 2},
        {"image mouse --device 0 --trace", 2},
        {"apply mouse --device x", 2},
        {"apply mouse --device 1", 1}, // not connected
    };
    for (const auto& [arguments, status] : cases) {
        const Result result = run(arguments);
        EXPECT_EQ(result.status, status) << arguments << ": " << result.err;
        EXPECT_FALSE(result.err.empty()) << arguments;
    }
}

TEST_F(DeviceKindCliTest, AMouseFileThatDoesNotReadIsAnError) {
    test::writeTextFile(res / "MouseKorv/MouseA/Config/MouseConfig.json",
                        "{\"mouseconfig\": {\"mousekey\": 3}}");
    const Result result = run("image mouse --device 0");
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(result.out.empty());
    EXPECT_THAT(result.err, HasSubstr("MouseConfig.json"));
}

} // namespace
} // namespace varnix
