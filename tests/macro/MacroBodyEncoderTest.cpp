// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/MacroBodyEncoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <initializer_list>

namespace varnix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::ElementsAreArray;

struct Item {
    std::uint8_t value;
    std::uint8_t status;
    std::uint16_t delay;
    std::uint16_t x = 0;
    std::uint16_t y = 0;
};

MacroData macroOf(std::initializer_list<Item> items, std::uint8_t rptType = 0,
                  std::uint16_t macRpt = 1) {
    MacroData data;
    data.rptType = rptType;
    data.macRpt = macRpt;
    for (const Item& item : items) {
        const std::size_t i = data.num++;
        data.macVal[i] = item.value;
        data.macSta[i] = item.status;
        data.macDly[i] = item.delay;
        data.extVal[i] = {item.x, item.y};
        data.numXY += item.value == MacroKindPointerMove;
        data.numWhl += item.value == MacroKindWheel;
        data.numCpi += item.value == MacroKindDpi;
        data.numMedia += item.value == MacroKindMedia;
        data.numLed += item.value == MacroKindLed;
        data.blockItemCount += item.value == MacroKindDataBlock;
    }
    return data;
}

Bytes encode(const MacroData& data, int address = 0, MacroDeviceValues values = {}) {
    const Expected<MacroBody> body = MacroBodyEncoder(values).encode(data, address);
    EXPECT_TRUE(body);
    return body ? body->bytes : Bytes{};
}

// A key item followed by the closing release that makes it "not the last item".
const Item Closing{4, MacroStatusRelease, 0};

struct EncodingCase {
    const char* what;
    MacroData macro;
    Bytes body;
    int entryCount;
};

TEST(MacroBodyEncoderTest, DescribedCases) {
    const EncodingCase cases[] = {
        {"repeat until click starts with 1, 0", macroOf({Closing}, 1, 300), {1, 0, 1, 4}, 1},
        {"repeat until release starts with 1, 0", macroOf({Closing}, 0x06, 300), {1, 0, 1, 4}, 1},
        {"repeat count 300 starts with 0x2C, 0x01",
         macroOf({Closing}, 0, 300),
         {0x2C, 0x01, 1, 4},
         1},
        {"1200 ms: delay byte 6 and one extra entry",
         macroOf({{4, 1, 1200}, Closing}),
         {1, 0, 0x86, 4, 127, 0, 1, 4},
         3},
        {"20 ms: delay byte 2", macroOf({{4, 2, 20}, Closing}), {1, 0, 2, 4, 1, 4}, 2},
        {"5 ms: delay byte 1", macroOf({{4, 2, 5}, Closing}), {1, 0, 1, 4, 1, 4}, 2},
        {"0 ms: delay byte 1", macroOf({{4, 2, 0}, Closing}), {1, 0, 1, 4, 1, 4}, 2},
        {"the last item's delay byte is 1",
         macroOf({{4, 2, 20}, {5, 2, 5000}}),
         {1, 0, 2, 4, 1, 5},
         2},
        {"65535 ms is sent as 10000 ms: 95 and eight extra entries",
         macroOf({{4, 2, 65535}, Closing}),
         {1, 0, 95, 4, 127, 0, 127, 0, 127, 0, 127, 0, 127, 0, 127, 0, 127, 0, 127, 0, 1, 4},
         10},
        {"2286 ms: 127, then 127, 0 and 0, 0",
         macroOf({{4, 2, 2286}, Closing}),
         {1, 0, 127, 4, 127, 0, 0, 0, 1, 4},
         4},
        {"press and release of A with 100 ms",
         macroOf({{4, 1, 100}, {4, 2, 100}, Closing}),
         {1, 0, 0x8B, 0x04, 0x0B, 0x04, 1, 4},
         3},
        {"pointer move left 10 and up 3",
         macroOf({{246, 4, 100, 10, 3}, Closing}),
         {1, 0, 11, 246, 0xF6, 0xFF, 0xFD, 0xFF, 1, 4},
         2},
        {"pointer move right 10 and down 3",
         macroOf({{246, 5, 100, 10, 3}, Closing}),
         {1, 0, 11, 246, 10, 0, 3, 0, 1, 4},
         2},
        {"pointer move with another direction",
         macroOf({{246, 1, 100, 10, 3}, Closing}),
         {1, 0, 11, 246, 1, 4},
         2},
        {"a DPI item becomes 0, 0", macroOf({{248, 9, 100, 3}, Closing}), {1, 0, 0, 0, 1, 4}, 2},
        {"wheel up 3 and down 3",
         macroOf({{247, 7, 20, 3}, {247, 8, 20, 3}, Closing}),
         {1, 0, 2, 247, 3, 0, 2, 247, 0xFD, 0, 1, 4},
         3},
        {"wheel with another status", macroOf({{247, 1, 20, 3}, Closing}), {1, 0, 2, 247, 1, 4}, 2},
        {"media press, release, other status",
         macroOf({{250, 12, 20, 0x00E9}, {250, 11, 20, 0x00E9}, {250, 3, 20, 0x1234}, Closing}),
         {1, 0, 0x82, 250, 0xE9, 0, 2, 250, 0xE9, 0, 0, 250, 0x34, 0x12, 1, 4},
         4},
        {"a key item with another status sends nothing but counts",
         macroOf({{4, 3, 20}, Closing}),
         {1, 0, 1, 4},
         2},
        {"a delay-only item", macroOf({{0, 0, 90}, Closing}), {1, 0, 10, 0, 1, 4}, 2},
        {"an empty macro is the header alone", macroOf({}, 0, 2), {2, 0}, 0},
    };
    for (const EncodingCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Expected<MacroBody> body = MacroBodyEncoder().encode(c.macro, 0);
        ASSERT_TRUE(body);
        EXPECT_THAT(body->bytes, ElementsAreArray(c.body));
        EXPECT_EQ(body->entryCount, c.entryCount);
        EXPECT_EQ(MacroBodyEncoder().entryCount(c.macro), c.entryCount);
    }
}

TEST(MacroBodyEncoderTest, MaximumDelayComesFromTheDevice) {
    MacroDeviceValues values;
    values.maxDelayMs = 900;
    EXPECT_EQ(MacroBodyEncoder(values).delayUnits(65535), 100);
    EXPECT_THAT(encode(macroOf({{4, 2, 65535}, Closing}), 0, values),
                ElementsAreArray(Bytes{1, 0, 100, 4, 1, 4}));
}

TEST(MacroBodyEncoderTest, SizeFollowsTheDirectoryLayout) {
    // (numMedia + 2 numXY + numCpi + numWhl + n) * 2 + 2
    const MacroData macro =
        macroOf({{246, 3, 20, 1, 1}, {247, 7, 20, 1}, {250, 12, 20, 0xE9}, {4, 1, 1200}, Closing});
    const MacroBodyEncoder encoder;
    EXPECT_EQ(encoder.entryCount(macro), 6);
    EXPECT_EQ(encoder.layoutSize(macro), (1 + 2 + 0 + 1 + 6) * 2 + 2);
    const Expected<MacroBody> body = encoder.encode(macro, 0x160);
    ASSERT_TRUE(body);
    EXPECT_EQ(body->size, encoder.layoutSize(macro));
    EXPECT_EQ(static_cast<int>(body->bytes.size()), body->size);
}

MacroData ledMacro() {
    MacroData macro = macroOf({{249, 14, 20, 1}, {249, 15, 20, 0}, Closing});
    macro.ledBlocks[1] = {2, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 99};
    macro.ledBlocks[0] = {1, 30, 31, 32, 33, 34, 35, 36, 99};
    return macro;
}

TEST(MacroBodyEncoderTest, LedItemsPointAtTheirDataAfterTheEntries) {
    const Expected<MacroBody> body = MacroBodyEncoder().encode(ledMacro(), 0x1F8);
    ASSERT_TRUE(body);
    // Entries: header, two LED entries of four bytes, the closing key.
    EXPECT_EQ(body->entryAreaSize, 2 + 4 + 4 + 2);
    const int first = 0x1F8 + body->entryAreaSize; // 0x204
    const int second = first + 1 + 4 * 2 + 3;      // after block 1: count-1 and 11 bytes
    const Bytes expected = {1,
                            0,
                            2,
                            249,
                            static_cast<std::uint8_t>(first & 0xFF),
                            static_cast<std::uint8_t>(0x40 | (first >> 8)),
                            2,
                            249,
                            static_cast<std::uint8_t>(second & 0xFF),
                            static_cast<std::uint8_t>(0x80 | (second >> 8)),
                            1,
                            4,
                            1,
                            10,
                            11,
                            12,
                            13,
                            14,
                            15,
                            16,
                            17,
                            18,
                            19,
                            20,
                            0,
                            30,
                            31,
                            32,
                            33,
                            34,
                            35,
                            36};
    EXPECT_THAT(body->bytes, ElementsAreArray(expected));
    // The layout size leaves no room for the parameter data: the body takes what it needs.
    EXPECT_LT(MacroBodyEncoder().layoutSize(ledMacro()), static_cast<int>(expected.size()));
    EXPECT_EQ(body->size, static_cast<int>(expected.size()));
}

TEST(MacroBodyEncoderTest, LedSwitchesAndMissingCounters) {
    MacroDeviceValues switchB;
    switchB.ledSwitchB = 1;
    EXPECT_THAT(encode(ledMacro(), 0, switchB), ElementsAreArray(Bytes{1, 0, 0, 0, 0, 0, 1, 4}));
    MacroDeviceValues bothSwitches = switchB;
    bothSwitches.ledSwitchA = 2;
    EXPECT_EQ(encode(ledMacro(), 0, bothSwitches), encode(ledMacro()));
    MacroData noCount = ledMacro();
    noCount.numLed = 0;
    EXPECT_THAT(encode(noCount), ElementsAreArray(Bytes{1, 0, 1, 4}));
}

TEST(MacroBodyEncoderTest, DataBlocksFollowTheLedData) {
    MacroData macro = macroOf({{249, 13, 20, 0}, {251, 6, 20, 1}, Closing});
    macro.ledBlocks[0] = {1, 1, 2, 3, 4, 5, 6, 7};
    macro.dataBlocks[DataBlockStride * 1] = 1;
    for (int i = 1; i <= 7; ++i)
        macro.dataBlocks[DataBlockStride + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(0x50 + i);
    const Bytes body = encode(macro, 0x100);
    const int entries = 2 + 4 + 4 + 2;
    const int led = 0x100 + entries;
    const int data = led + 8;
    ASSERT_EQ(body.size(), static_cast<std::size_t>(entries + 8 + 8));
    EXPECT_EQ(body[6], 2);
    EXPECT_EQ(body[7], 251);
    EXPECT_EQ(body[8], data & 0xFF);
    EXPECT_EQ(body[9], 0x80 | (data >> 8)); // status 6 AND 3 = 2 in bits 6-7
    EXPECT_THAT(Bytes(body.begin() + entries + 8, body.end()),
                ElementsAreArray(Bytes{0, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57}));
    macro.blockItemCount = 0;
    EXPECT_EQ(encode(macro, 0x100).size(), static_cast<std::size_t>(2 + 4 + 2 + 8));
}

TEST(MacroBodyEncoderTest, NothingMayReachAddress0x4000) {
    const MacroData macro = macroOf({{4, 1, 20}, Closing}); // 6 bytes
    EXPECT_TRUE(MacroBodyEncoder().encode(macro, 0x4000 - 6));
    const Expected<MacroBody> past = MacroBodyEncoder().encode(macro, 0x4000 - 5);
    EXPECT_FALSE(past);
    EXPECT_EQ(past.outcome().status, Status::TooLarge);
    EXPECT_THAT(past.outcome().detail, testing::HasSubstr("0x4000"));
    // A parameter area past the limit refuses the body as well.
    EXPECT_FALSE(MacroBodyEncoder().encode(ledMacro(), 0x4000 - 20));
}

} // namespace
} // namespace varnix
