// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard, mouse and pad writers: stop positions, capacity refusals, the pad's identity.
#include "device/ImageWriteOut.h"
#include "device/KeyboardWriter.h"
#include "device/MouseWriter.h"
#include "device/PadWriter.h"
#include "device/SimulatedBackend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

ParameterImage contiguousImage(int first, int count) {
    ParameterImage image;
    for (int i = 0; i < count; ++i)
        image.add(first + i, static_cast<std::uint8_t>(0x40 + i % 64));
    return image;
}

// Catalogue rows of the built-in table used here.
constexpr std::size_t MouseRow = 0;
constexpr std::size_t KeyboardRow = 5;
constexpr std::size_t PadRow = 9;

// One mouse, one keyboard and one pad on the virtual bus.
class ApplyWritersTest : public ::testing::Test {
protected:
    ApplyWritersTest()
        : backend({{0x3151, 0x1441, "Tavro_Quenra-Rum1", 0, 16384, true, false},
                   {0x3151, 0x2351, "Tavro_Quenra-Sel1", 0, 4096, true, false},
                   {0x3151, 0x3031, "Tavro_Quenra-Wel1", 0, 4096, true, false}},
                  clock),
          dev(backend, clock, target) {}

    // Opens the row and makes it the write target, as selecting its card does.
    void select(std::size_t row) {
        DeviceRecord& record = dev.DeviceList[row];
        ASSERT_TRUE(dev.OpenDevice(record));
        target.set(record.WriteHandle);
        backend.clearFrames();
    }

    ApplyResult run(ApplyWriter& writer) {
        return writer.write([this](int percent) { progress.push_back(percent); });
    }

    ManualClock clock;
    SimulatedBackend backend;
    SharedWriteHandle target;
    FindDev dev;
    std::vector<int> progress;
};

TEST_F(ApplyWritersTest, KeyboardImageMayEndExactlyAtCapacityLessSeventyTwo) {
    struct Case {
        int capacity;
        int lastAddress;
        bool written;
    };
    const Case cases[] = {{2047, 1974, true},
                          {2047, 1975, false},
                          {4095, 4022, true},
                          {4095, 4023, false},
                          {DefaultEepCapacity, 1975, false}};
    select(KeyboardRow);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "capacity " << c.capacity << " last " << c.lastAddress);
        backend.clearFrames();
        progress.clear();
        ParameterImage image;
        image.add(0, 0x11);
        image.add(c.lastAddress, 0x22);
        KeyboardWriter writer(dev, image, c.capacity);
        const int activationsBefore = backend.activationCount(1);
        const ApplyResult result = run(writer);
        if (c.written) {
            EXPECT_TRUE(result.completed()) << result.detail;
            EXPECT_EQ(backend.memory(1)[static_cast<std::size_t>(c.lastAddress)], 0x22);
            EXPECT_EQ(backend.activationCount(1), activationsBefore + 1);
            EXPECT_THAT(progress, ElementsAre(50, 100, 100));
        } else {
            EXPECT_EQ(result.status, Status::TooLarge);
            EXPECT_THAT(result.detail, HasSubstr("does not fit"));
            EXPECT_THAT(backend.frames(), IsEmpty()); // not even the activation
            EXPECT_THAT(progress, IsEmpty());
        }
    }
}

TEST_F(ApplyWritersTest, KeyboardCompletionRunsOnlyAfterACompleteWriteOut) {
    select(KeyboardRow);
    int completions = 0;
    KeyboardWriter fits(dev, contiguousImage(0, 16));
    fits.setCompletion([&] { ++completions; });
    EXPECT_TRUE(run(fits).completed());
    EXPECT_EQ(completions, 1);

    KeyboardWriter tooLarge(dev, contiguousImage(1970, 16));
    tooLarge.setCompletion([&] { ++completions; });
    EXPECT_EQ(run(tooLarge).status, Status::TooLarge);
    EXPECT_EQ(completions, 1);
}

TEST_F(ApplyWritersTest, ImageThatCannotBeBuiltAbandonsTheApplyBeforeAnyFrame) {
    select(KeyboardRow);
    const ApplyWriter::ImageSource noImage = []() -> Expected<ParameterImage> {
        return Outcome::failure(Status::Abandoned, "the model cannot be read");
    };
    KeyboardWriter keyboard(dev, noImage);
    MouseWriter mouse(dev, noImage);
    for (ApplyWriter* writer : std::initializer_list<ApplyWriter*>{&keyboard, &mouse})
        EXPECT_EQ(run(*writer).status, Status::Abandoned);
    EXPECT_THAT(backend.frames(), IsEmpty());
    EXPECT_THAT(progress, IsEmpty());
}

TEST_F(ApplyWritersTest, KeyboardBuildsItsImageOnTheWritersThreadAfterReadingTheBase) {
    select(KeyboardRow);
    int base = -1;
    KeyboardWriter writer(dev, [&]() -> Expected<ParameterImage> {
        base = dev.ReadBaseAddress();
        return contiguousImage(base + 8, 8);
    });
    EXPECT_TRUE(run(writer).completed());
    EXPECT_EQ(base, 0);
    EXPECT_EQ(backend.memory(1)[8], 0x40);
}

TEST_F(ApplyWritersTest, MouseImageOf3872BytesIsWrittenAnd3873IsRefused) {
    select(MouseRow);
    MouseWriter fits(dev, contiguousImage(0, 3872));
    const ApplyResult written = run(fits);
    EXPECT_TRUE(written.completed());
    EXPECT_EQ(written.bytesWritten, 3872);
    EXPECT_EQ(backend.memory(0)[3871], contiguousImage(0, 3872).at(3871));
    EXPECT_EQ(progress.size(), 3872u / 32u + 1u);

    backend.clearFrames();
    progress.clear();
    MouseWriter tooLarge(dev, contiguousImage(0, 3873));
    const ApplyResult refused = run(tooLarge);
    EXPECT_EQ(refused.status, Status::TooLarge);
    EXPECT_THAT(refused.detail, HasSubstr("3873 bytes"));
    EXPECT_THAT(backend.frames(), IsEmpty());
    EXPECT_THAT(progress, IsEmpty());
}

TEST_F(ApplyWritersTest, MouseWritesTheWholeImageEvenWhenItHasGaps) {
    // The mouse header: address 1, then 8..109; addresses 0 and 2..7 stay out.
    ParameterImage image;
    image.add(1, 0x61);
    for (int address = 8; address <= 109; ++address)
        image.add(address, static_cast<std::uint8_t>(address));
    EXPECT_EQ(MouseWriter::stopOf(image), 110);
    select(MouseRow);
    MouseWriter writer(dev, image);
    EXPECT_TRUE(run(writer).completed());
    const Bytes memory = backend.memory(0);
    EXPECT_EQ(memory[1], 0x61);
    EXPECT_EQ(memory[2], 0);
    EXPECT_EQ(memory[109], 109); // past the image count (103): a stop at the count would lose it
    std::vector<int> starts;
    for (const ImageRun& r : ImageWriteOut::planRuns(image, LargeBlockSize, 110))
        starts.push_back(r.address);
    EXPECT_THAT(starts, ElementsAre(1, 8, 32, 64, 96));
}

TEST_F(ApplyWritersTest, PadWritesAddressesBelow1024In8ByteBlocks) {
    select(PadRow);
    ParameterImage image = contiguousImage(1016, 8);
    image.add(1024, 0x99);
    PadWriter writer(dev, image);
    const ApplyResult result = run(writer);
    EXPECT_TRUE(result.completed());
    EXPECT_EQ(result.bytesWritten, 8);
    EXPECT_EQ(backend.memory(2)[1023], 0x47);
    EXPECT_EQ(backend.memory(2)[1024], 0);
    EXPECT_THAT(progress, ElementsAre(88, 100)); // 8 of 9 entries
}

TEST(PadWriterTest, ProductStringIsCutTo31BytesOnACharacterBoundaryAndZeroFilled) {
    const auto shortName = PadWriter::productStringBytes("Pad");
    EXPECT_EQ(Bytes(shortName.begin(), shortName.begin() + 4), (Bytes{'P', 'a', 'd', 0}));
    EXPECT_EQ(shortName[31], 0);

    const auto longName = PadWriter::productStringBytes(std::string(40, 'x'));
    EXPECT_EQ(std::count(longName.begin(), longName.end(), 'x'), 31);
    EXPECT_EQ(longName[31], 0);

    // 30 ASCII bytes and a two-byte character: the character does not fit and is left out whole.
    const auto cut = PadWriter::productStringBytes(std::string(30, 'a') + "\xC3\xA9");
    EXPECT_EQ(cut[29], 'a');
    EXPECT_EQ(cut[30], 0);
}

// The pad's write collection, answering identity queries from a script: each QueryProductInfo
// takes the next answer (no value: the query fails).
class ScriptedIdentityHandle final : public HidHandle {
public:
    struct Identity {
        std::string product;
        std::uint16_t vid;
        std::uint16_t pid;
    };
    ScriptedIdentityHandle(HidHandlePtr inner, std::vector<std::optional<Identity>> answers)
        : inner_(std::move(inner)), answers_(std::move(answers)) {}

    bool sendFeatureReport(std::span<const std::uint8_t> report) override {
        return inner_->sendFeatureReport(report);
    }
    HidSendResult sendFeature(std::span<const std::uint8_t> report) override {
        return inner_->sendFeature(report);
    }
    int getFeatureReport(std::span<std::uint8_t> report) override {
        return inner_->getFeatureReport(report);
    }
    int readInputReport(std::span<std::uint8_t> report, int timeoutMs) override {
        return inner_->readInputReport(report, timeoutMs);
    }
    bool getProductString(std::string& product) override {
        current_ = next_ < answers_.size() ? answers_[next_] : std::nullopt;
        ++next_;
        if (current_)
            product = current_->product;
        return current_.has_value();
    }
    bool getAttributes(std::uint16_t& vendorId, std::uint16_t& productId) override {
        if (!current_)
            return false;
        vendorId = current_->vid;
        productId = current_->pid;
        return true;
    }
    void close() override { inner_->close(); }
    bool isOpen() const override { return inner_->isOpen(); }
    std::size_t queries() const { return next_; }

private:
    HidHandlePtr inner_;
    std::vector<std::optional<Identity>> answers_;
    std::optional<Identity> current_;
    std::size_t next_ = 0;
};

TEST_F(ApplyWritersTest, PadRestoresItsIdentityWhenTheImageChangedIt) {
    using Identity = ScriptedIdentityHandle::Identity;
    const Identity original{"Tavro_Quenra-Wel1", 0x3151, 0x3031};
    struct Case {
        const char* name;
        std::optional<Identity> before;
        std::optional<Identity> after;
        bool restored;
    };
    const Case cases[] = {
        {"unchanged", original, original, false},
        {"product string changed", original, Identity{"Garbled", 0x3151, 0x3031}, true},
        {"PID changed", original, Identity{original.product, 0x3151, 0x0001}, true},
        {"VID changed", original, Identity{original.product, 0x0002, 0x3031}, true},
        {"second reading failed", original, std::nullopt, false},
        {"first reading failed: nothing to restore", std::nullopt, original, false},
    };
    select(PadRow);
    const HidHandlePtr padHandle = dev.DeviceList[PadRow].WriteHandle;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        backend.clearFrames();
        backend.setMemory(2, 0, Bytes(0x100, 0));
        auto scripted = std::make_shared<ScriptedIdentityHandle>(
            padHandle, std::vector<std::optional<Identity>>{c.before, c.after});
        target.set(scripted);
        PadWriter writer(dev, contiguousImage(0x10, 4));
        EXPECT_TRUE(run(writer).completed());
        EXPECT_EQ(scripted->queries(), 2u);

        const std::vector<SimulatedFrame> frames = backend.sentFrames(2);
        const std::size_t imageFrames = 4 + 2 + 2; // one 4-byte block, activate, end
        const Bytes memory = backend.memory(2);
        if (!c.restored) {
            EXPECT_EQ(frames.size(), imageFrames);
            EXPECT_EQ(memory[0xE0], 0);
            continue;
        }
        // Four 8-byte blocks for the string, one 4-byte block for the ids, after activation.
        ASSERT_EQ(frames.size(), imageFrames + 4 * (8 + 2) + (4 + 2));
        EXPECT_EQ(frames[imageFrames - 2].bytes[2], 0x10);
        std::vector<int> blockAddresses;
        for (std::size_t i = imageFrames; i < frames.size(); ++i)
            if (frames[i].bytes[2] == 0x09)
                blockAddresses.push_back(frames[i].bytes[4] | (frames[i].bytes[5] << 8));
        EXPECT_THAT(blockAddresses, ElementsAre(0xE0, 0xE8, 0xF0, 0xF8, 3));
        const std::string stored(memory.begin() + 0xE0, memory.begin() + 0xE0 + 17);
        EXPECT_EQ(stored, original.product);
        EXPECT_EQ(Bytes(memory.begin() + 0xE0 + 17, memory.begin() + 0x100), Bytes(15, 0));
        EXPECT_EQ(Bytes(memory.begin() + 3, memory.begin() + 7), (Bytes{0x31, 0x30, 0x51, 0x31}));
        EXPECT_EQ(Bytes(memory.begin() + 0x10, memory.begin() + 0x14),
                  (Bytes{0x40, 0x41, 0x42, 0x43}));
    }
}

TEST_F(ApplyWritersTest, PadPulledOutDuringTheRestoreEndsWithAnError) {
    using Identity = ScriptedIdentityHandle::Identity;
    select(PadRow);
    target.set(std::make_shared<ScriptedIdentityHandle>(
        dev.DeviceList[PadRow].WriteHandle,
        std::vector<std::optional<Identity>>{Identity{"Tavro_Quenra-Wel1", 0x3151, 0x3031},
                                             Identity{"Other", 0x3151, 0x3031}}));
    backend.setFaultHook(2, [](const Bytes& bytes) {
        return bytes[2] == 0x03 && bytes[4] == 0xE8 ? FrameFate::Vanish : FrameFate::Accept;
    });
    PadWriter writer(dev, contiguousImage(0x10, 4));
    const ApplyResult result = run(writer);
    EXPECT_EQ(result.status, Status::DeviceGone);
    EXPECT_THAT(progress, ElementsAre(100)); // the image block only; the final 100 never came
}

} // namespace
} // namespace varnix
