// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl apply-image on the simulated demo devices: traces, stop positions, exit codes.
#include "tests/support/DemoCliFixture.h"

#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace varnix {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

using Result = test::CommandResult;

using test::DemoKeyboard;
using test::DemoMouse;
using test::DemoPad;
using test::UnpluggedMouse;

class ApplyImageCliTest : public test::DemoCliFixture {
protected:
    static std::string fixture(const std::string& name) {
        return (test::testDataDir() / "apply" / name).string();
    }
    static std::string golden(const std::string& name) {
        return test::readTextFile(test::testDataDir() / "apply" / name);
    }
    std::string imageFile(const std::string& name, const std::string& text) {
        test::writeTextFile(res / name, text);
        return (res / name).string();
    }
};

TEST_F(ApplyImageCliTest, TracePrintsEveryReportTheDemoDevicesReceive) {
    struct Case {
        int device;
        const char* block;
        const char* image;
        const char* trace;
    };
    const Case cases[] = {
        {DemoKeyboard, "8", "runs-5-9.image", "runs-5-9.trace"},
        {DemoPad, "8", "lone-16.image", "lone-16.trace"},
        {DemoMouse, "8", "runs-5-9.image", "runs-5-9.trace"},
    };
    for (const Case& c : cases) {
        const Result result = run("apply-image --device " + std::to_string(c.device) + " --block " +
                                  c.block + " --trace '" + fixture(c.image) + "'");
        EXPECT_EQ(result.status, 0) << c.device << ": " << result.err;
        EXPECT_EQ(result.out, golden(c.trace)) << c.device;
    }
}

TEST_F(ApplyImageCliTest, ThirtyTwoByteBlocksAndTheStopPosition) {
    const std::string image = fixture("runs-5-9.image");
    // One run of five bytes in a 32-byte block.
    const Result wide = run("apply-image --device 5 --block 32 --trace '" + image + "'");
    ASSERT_EQ(wide.status, 0) << wide.err;
    EXPECT_THAT(wide.out, HasSubstr("07 18 03 04 05 00 B2 04\n07 18 09 00 05 00 00 04\n"));

    // A stop at 8 leaves the second block out, in decimal and in hex alike; without --trace
    // nothing is printed.
    for (const char* stop : {"8", "0x8", "0X08"}) {
        const Result stopped = run(std::string("apply-image --device 5 --block 8 --stop ") + stop +
                                   " --trace '" + image + "'");
        ASSERT_EQ(stopped.status, 0) << stopped.err;
        EXPECT_THAT(stopped.out, Not(HasSubstr(" 08 00 B1 ")));
        EXPECT_THAT(stopped.out, EndsWith("07 18 10 00 00 00 00 00\n07 18 00 00 00 00 00 00\n"));
    }
    const Result quiet = run("apply-image --device 5 --block 8 '" + image + "'");
    EXPECT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_THAT(quiet.out, IsEmpty());
}

TEST_F(ApplyImageCliTest, EmptyImageOnlyActivates) {
    const Result result = run("apply-image --device 5 --block 8 --trace '" +
                              imageFile("empty.image", "# nothing\n\n") + "'");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "07 18 10 00 00 00 00 00\n07 18 00 00 00 00 00 00\n");
}

TEST_F(ApplyImageCliTest, DeviceThatIsNotConnectedFailsWithOneLine) {
    const Result result = run("apply-image --device " + std::to_string(UnpluggedMouse) +
                              " --block 8 --trace '" + fixture("runs-5-9.image") + "'");
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, EndsWith("varnixctl: device 1 (Tavro_Quenra-Rum2) is not connected\n"));
    EXPECT_THAT(result.out, IsEmpty());
}

TEST_F(ApplyImageCliTest, BadArgumentsAndBadImagesExitWithTwo) {
    const std::string good = fixture("runs-5-9.image");
    const std::string badLine = imageFile("bad.image", "5 A1\n6 A2 A3\n");
    const std::string badByte = imageFile("byte.image", "# ok\n5 1FF\n");
    const std::pair<std::string, std::string> cases[] = {
        {"apply-image --block 8 '" + good + "'", "apply-image needs --device INDEX"},
        {"apply-image --device 5 '" + good + "'", "apply-image needs --block 8 or --block 32"},
        {"apply-image --device 5 --block 16 '" + good + "'", "--block takes 8 or 32"},
        {"apply-image --device x --block 8 '" + good + "'", "--device takes a catalogue index"},
        {"apply-image --device 5 --block 8 --stop 1e3 '" + good + "'", "--stop takes a number"},
        {"apply-image --device 5 --block 8 --stop 0x10001 '" + good + "'", "--stop takes a number"},
        {"apply-image --device 5 --block 8 --stop", "--stop needs a value"},
        {"apply-image --device 5 --block 8", "apply-image needs an image file"},
        {"apply-image --device 5 --block 8 '" + good + "' '" + good + "'", "one image file"},
        {"apply-image --device 5 --block 8 --verbose '" + good + "'", "unknown apply-image option"},
        {"apply-image --device 5 --block 8 /nonexistent/x.image", "cannot read image file"},
        {"apply-image --device 5 --block 8 '" + badLine + "'", "bad.image: line 2: expected ADDR"},
        {"apply-image --device 5 --block 8 '" + badByte + "'", "line 2: byte \"1FF\""},
        {"apply-image --device 99 --block 8 '" + good + "'", "no device with index 99"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_THAT(result.err, HasSubstr(message)) << arguments;
        EXPECT_THAT(result.err, EndsWith("\n"));
        EXPECT_THAT(result.out, IsEmpty()) << arguments;
    }
}

} // namespace
} // namespace varnix
