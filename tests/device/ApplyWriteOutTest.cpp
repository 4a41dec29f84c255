// SPDX-License-Identifier: GPL-3.0-or-later
// The common write-out: runs, frames, progress, activation, and what a vanished device does.
#include "device/ImageWriteOut.h"
#include "device/SimulatedBackend.h"
#include "tests/support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

ParameterImage imageOf(const std::vector<std::pair<int, std::uint8_t>>& entries) {
    ParameterImage image;
    for (const auto& [address, value] : entries)
        image.add(address, value);
    return image;
}

ParameterImage contiguousImage(int first, int count) {
    ParameterImage image;
    for (int i = 0; i < count; ++i)
        image.add(first + i, static_cast<std::uint8_t>(i));
    return image;
}

ParameterImage imageFixture(const std::string& name) {
    const Expected<ParameterImage> image =
        ParameterImage::fromText(test::readTextFile(test::testDataDir() / "apply" / name));
    EXPECT_TRUE(image) << image.outcome().detail;
    return image ? *image : ParameterImage{};
}

TEST(ParameterImageTest, KeepsTheFirstValueOfAnAddressEnteredTwice) {
    ParameterImage image;
    EXPECT_TRUE(image.add(0x20, 1));
    EXPECT_FALSE(image.add(0x20, 2));
    EXPECT_TRUE(image.add(0x10, 3));
    EXPECT_EQ(image.at(0x20), 1);
    EXPECT_EQ(image.at(0x11), std::nullopt);
    EXPECT_EQ(image.size(), 2u);
    EXPECT_EQ(image.endAddress(), 0x21);
    EXPECT_EQ(ParameterImage{}.endAddress(), 0);
    EXPECT_EQ(image.toText(), "0010 03\n0020 01\n");
}

TEST(ParameterImageTest, TextFormReadsPairsAndRejectsBadLines) {
    const auto image = ParameterImage::fromText("# header\n\n  5 a1 # five\nFFFF ff\n0005 00\n");
    ASSERT_TRUE(image) << image.outcome().detail;
    EXPECT_EQ(image->toText(), "0005 A1\nFFFF FF\n");

    const std::pair<std::string, std::string> bad[] = {
        {"5\n", "line 1: expected ADDR BYTE"},
        {"1 2\n5 6 7\n", "line 2: expected ADDR BYTE"},
        {"10000 1\n", "address \"10000\""},
        {"0x5 1\n", "address \"0x5\""},
        {"-5 1\n", "address \"-5\""},
        {"5 100\n", "byte \"100\""},
        {"5 zz\n", "byte \"zz\""},
    };
    for (const auto& [text, message] : bad) {
        const auto refused = ParameterImage::fromText(text);
        EXPECT_FALSE(refused) << text;
        EXPECT_EQ(refused.outcome().status, Status::Invalid) << text;
        EXPECT_THAT(refused.outcome().detail, ::testing::HasSubstr(message)) << text;
    }
}

struct RunCase {
    const char* name;
    ParameterImage image;
    int blockSize;
    int stop;
    std::vector<ImageRun> runs;
};

TEST(ImageWriteOutPlanTest, RunsStopAtGapsBlockBoundariesAndFullBlocks) {
    const RunCase cases[] = {
        {"5..9 in 8-byte blocks", contiguousImage(5, 5), 8, 10, {{5, {0, 1, 2}}, {8, {3, 4}}}},
        {"5..9 in 32-byte blocks", contiguousImage(5, 5), 32, 10, {{5, {0, 1, 2, 3, 4}}}},
        {"lone entry at 16", imageOf({{16, 0x5A}}), 8, 17, {{16, {0x5A}}}},
        {"gap splits a block", imageOf({{0, 1}, {1, 2}, {3, 4}}), 8, 4, {{0, {1, 2}}, {3, {4}}}},
        {"a full aligned block is one run",
         contiguousImage(8, 8),
         8,
         16,
         {{8, {0, 1, 2, 3, 4, 5, 6, 7}}}},
        {"20 bytes from 30 in 8-byte blocks",
         contiguousImage(30, 20),
         8,
         50,
         {{30, {0, 1}},
          {32, {2, 3, 4, 5, 6, 7, 8, 9}},
          {40, {10, 11, 12, 13, 14, 15, 16, 17}},
          {48, {18, 19}}}},
        {"entries at and past the stop are left out",
         imageOf({{2, 1}, {10, 2}, {11, 3}}),
         8,
         10,
         {{2, {1}}}},
        {"a run that starts below the stop ends at its block",
         contiguousImage(5, 5),
         8,
         6,
         {{5, {0, 1, 2}}}},
        {"negative addresses are never reached", imageOf({{-3, 1}, {0, 2}}), 8, 1, {{0, {2}}}},
        {"empty image", ParameterImage{}, 8, 1024, {}},
    };
    for (const RunCase& c : cases)
        EXPECT_EQ(ImageWriteOut::planRuns(c.image, c.blockSize, c.stop), c.runs) << c.name;
}

TEST(ImageWriteOutPlanTest, RejectsBlockSizesTheProtocolCannotCarry) {
    SimulatedBackend backend({});
    SharedWriteHandle target;
    FindDev dev(backend, systemClock(), target);
    EXPECT_THROW(ImageWriteOut(dev, 0, 10), std::invalid_argument);
    EXPECT_THROW(ImageWriteOut(dev, 33, 10), std::invalid_argument);
}

// A keyboard on the virtual device, selected as the write target, with a manual clock.
class ImageWriteOutTest : public ::testing::Test {
protected:
    ImageWriteOutTest()
        : backend({{0x3151, 0x2351, "Tavro_Quenra-Sel1", 0, 4096, true, false}}, clock),
          dev(backend, clock, target) {}

    void SetUp() override {
        ASSERT_TRUE(dev.OpenDevice(keyboard()));
        backend.clearFrames();
        clock.clearPauses();
    }

    DeviceRecord& keyboard() { return dev.DeviceList[5]; }

    ApplyResult writeOut(const ParameterImage& image, int blockSize, int stop,
                         const std::function<void()>& completion = {}) {
        return ImageWriteOut(dev, blockSize, stop)
            .run(
                image, [this](int percent) { progress.push_back(percent); }, completion);
    }

    // The frames the device received, in the text form of the trace fixtures.
    std::string trace() const {
        std::string text;
        for (const SimulatedFrame& f : backend.sentFrames(0)) {
            for (std::size_t i = 0; i < f.bytes.size(); ++i)
                text += formatText(i == 0 ? "%02X" : " %02X", f.bytes[i]);
            text += '\n';
        }
        return text;
    }

    ManualClock clock;
    SimulatedBackend backend;
    SharedWriteHandle target;
    FindDev dev;
    std::vector<int> progress;
};

TEST_F(ImageWriteOutTest, RunsAtFiveToNineGoOutAsTwoBlocksThenActivation) {
    const ApplyResult result = writeOut(imageFixture("runs-5-9.image"), 8, 10);
    EXPECT_TRUE(result.completed());
    EXPECT_EQ(result.bytesWritten, 5);
    EXPECT_EQ(trace(), test::readTextFile(test::testDataDir() / "apply" / "runs-5-9.trace"));
    EXPECT_THAT(clock.pauses(), ElementsAre(2, 8, 2, 8, 5));
    EXPECT_THAT(progress, ElementsAre(60, 100, 100));
    const Bytes memory = backend.memory(0);
    EXPECT_EQ(Bytes(memory.begin() + 5, memory.begin() + 10),
              (Bytes{0xA1, 0xA2, 0xA3, 0xB1, 0xB2}));
    EXPECT_EQ(backend.activationCount(0), 1);
}

TEST_F(ImageWriteOutTest, LoneEntryAtSixteenCostsOneBlockAndNoFrameBelowIt) {
    writeOut(imageFixture("lone-16.image"), 8, 17);
    EXPECT_EQ(trace(), test::readTextFile(test::testDataDir() / "apply" / "lone-16.trace"));
    EXPECT_THAT(progress, ElementsAre(100, 100));
}

TEST_F(ImageWriteOutTest, EmptyImageStillActivatesAndEndsAtHundred) {
    int completions = 0;
    const ApplyResult result = writeOut(ParameterImage{}, 8, 1024, [&] { ++completions; });
    EXPECT_TRUE(result.completed());
    EXPECT_EQ(backend.activationCount(0), 1);
    EXPECT_EQ(backend.sentFrames(0).size(), 2u);
    EXPECT_EQ(completions, 1);
    EXPECT_THAT(progress, ElementsAre(100));
}

TEST_F(ImageWriteOutTest, ProgressIsTheShareWrittenAfterEveryRun) {
    // 3 + 8 + 8 + 8 + 3 bytes: 10, 36, 63, 90, 100 percent, then 100 at the end.
    writeOut(contiguousImage(5, 30), 8, 35);
    EXPECT_THAT(progress, ElementsAre(10, 36, 63, 90, 100, 100));
    // Entries beyond the stop count in the total but are not written: the percentage stays low.
    progress.clear();
    writeOut(imageOf({{0, 1}, {1, 2}, {100, 3}, {101, 4}}), 8, 50);
    EXPECT_THAT(progress, ElementsAre(50, 100));
}

TEST_F(ImageWriteOutTest, CompletionRunsAfterActivationAndBeforeTheFinalHundred) {
    std::size_t framesAtCompletion = 0;
    std::size_t progressAtCompletion = 0;
    writeOut(contiguousImage(0, 4), 8, 4, [&] {
        framesAtCompletion = backend.sentFrames(0).size();
        progressAtCompletion = progress.size();
        dev.WriteBlock(0x40, Bytes{9});
    });
    EXPECT_EQ(framesAtCompletion, 4u + 2u + 2u); // block, then activate and end
    EXPECT_EQ(progressAtCompletion, 1u);
    EXPECT_THAT(progress, ElementsAre(100, 100));
    EXPECT_EQ(backend.memory(0)[0x40], 9);
}

TEST_F(ImageWriteOutTest, DevicePulledOutMidApplyEndsWithAnErrorInsteadOfHundred) {
    int frames = 0;
    // The second block's third byte never arrives: the device is gone.
    backend.setFaultHook(0, [&](const Bytes&) {
        return ++frames == 10 + 3 ? FrameFate::Vanish : FrameFate::Accept;
    });
    const ApplyResult result = writeOut(contiguousImage(0, 24), 8, 24);
    EXPECT_EQ(result.status, Status::DeviceGone);
    EXPECT_EQ(result.bytesWritten, 8);
    EXPECT_THAT(result.detail, ::testing::HasSubstr("removed"));
    EXPECT_THAT(progress, ElementsAre(33)); // the first block only, never 100
    EXPECT_EQ(backend.activationCount(0), 0);
    EXPECT_EQ(backend.sentFrames(0).size(), 10u + 2u); // nothing reaches the device after that
    // The frames of the interrupted block still went to the dead handle; no block after it did.
    EXPECT_THAT(clock.pauses(), ElementsAre(2, 8, 2, 8));
}

TEST_F(ImageWriteOutTest, HandleClosedByRemovalHandlingMidApplyEndsTheApply) {
    // Hot-plug handling closes the record's handles while the write-out runs.
    const ApplyResult result =
        ImageWriteOut(dev, 8, 32).run(contiguousImage(0, 32), [&](int percent) {
            progress.push_back(percent);
            if (percent >= 50)
                keyboard().closeConnection();
        });
    EXPECT_EQ(result.status, Status::DeviceGone);
    EXPECT_THAT(progress, ElementsAre(25, 50));
    EXPECT_EQ(backend.activationCount(0), 0);
    EXPECT_EQ(backend.sentFrames(0).size(), 2u * (8u + 2u));
}

TEST_F(ImageWriteOutTest, DeviceThatRefusesFramesStillGetsEveryFrameAndRunsToHundred) {
    backend.setFaultHook(0, [](const Bytes&) { return FrameFate::Refuse; });
    const ApplyResult result = writeOut(imageFixture("runs-5-9.image"), 8, 10);
    EXPECT_TRUE(result.completed());
    EXPECT_EQ(result.refusedFrames, 11);
    EXPECT_THAT(progress, ElementsAre(60, 100, 100));
    EXPECT_EQ(trace(), test::readTextFile(test::testDataDir() / "apply" / "runs-5-9.trace"));
    EXPECT_EQ(backend.memory(0)[5], 0);
}

TEST_F(ImageWriteOutTest, WithoutASelectedDeviceTheWriteOutRunsThroughQuietly) {
    target.clear();
    const ApplyResult result = writeOut(contiguousImage(5, 5), 8, 10);
    EXPECT_TRUE(result.completed());
    EXPECT_THAT(progress, ElementsAre(60, 100, 100));
    EXPECT_THAT(backend.frames(), IsEmpty());
}

TEST_F(ImageWriteOutTest, StatusOfAnEarlierVanishingDoesNotLeakIntoTheNextApply) {
    backend.setFaultHook(0, [](const Bytes&) { return FrameFate::Vanish; });
    EXPECT_EQ(writeOut(contiguousImage(0, 8), 8, 8).status, Status::DeviceGone);
    backend.setFaultHook(0, nullptr);
    backend.plug(0);
    ASSERT_TRUE(dev.OpenDevice(keyboard()));
    EXPECT_TRUE(writeOut(contiguousImage(0, 8), 8, 8).completed());
}

} // namespace
} // namespace varnix
