// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse macro area: body encoding, key parameter table, directory and body placement.
#include "mouse/MouseMacroArea.h"

#include "mouse/MouseImageBuilder.h"
#include "tests/mouse/MouseTestFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct Item {
    std::uint8_t status;
    std::uint8_t value;
    std::uint16_t delay;
    std::uint16_t x = 0;
    std::uint16_t y = 0;
};

MacroData macroOf(const std::vector<Item>& items) {
    MacroData data;
    data.num = static_cast<std::uint16_t>(items.size());
    for (std::size_t k = 0; k < items.size(); ++k) {
        data.macSta[k] = items[k].status;
        data.macVal[k] = items[k].value;
        data.macDly[k] = items[k].delay;
        data.extVal[k] = {items[k].x, items[k].y};
    }
    return data;
}

TEST(MouseMacroBodyTest, EntriesByItemKind) {
    const std::vector<std::pair<std::vector<Item>, Bytes>> cases{
        // press A, 100 ms = 25 units; release as the last item waits 1 unit
        {{{1, 4, 100}, {2, 4, 5000}}, {0x80 | 25, 4, 1, 4}},
        // 1200 ms = 300 units: runs 127, 127, 46
        {{{1, 4, 1200}, {2, 4, 0}}, {0x80 | 127, 4, 127, 0, 46, 0, 1, 4}},
        // a delay below one unit still waits one
        {{{1, 4, 3}, {2, 4, 0}}, {0x81, 4, 1, 4}},
        // delay only
        {{{0, 0, 40}, {2, 4, 0}}, {10, 0, 1, 4}},
        // pointer move left 10 and up 3, then right 2 down 1
        {{{4, 246, 8, 10, 3}, {5, 246, 0, 2, 1}},
         {2, 246, 0xF6, 0xFF, 0xFD, 0xFF, 1, 246, 2, 0, 1, 0}},
        // a pointer move with an unknown direction moves nowhere
        {{{9, 246, 8, 10, 3}}, {1, 246, 0, 0, 0, 0}},
        // wheel both ways
        {{{7, 247, 8, 3}, {8, 247, 0, 3}}, {2, 247, 3, 0, 1, 247, 0xFD, 0}},
        // DPI level 2, media press and release (usage 0xE9)
        {{{9, 248, 8, 2}, {12, 250, 8, 0xE9}, {11, 250, 0, 0xE9}},
         {2, 248, 2, 9, 0x82, 250, 0xE9, 0, 1, 250, 0xE9, 0}},
        // LED and data-block items and key items with other statuses send nothing
        {{{13, 249, 8}, {1, 251, 8}, {3, 4, 8}, {2, 5, 0}}, {1, 5}},
        // mouse buttons are keys
        {{{1, 241, 16}, {2, 241, 0}}, {0x84, 241, 1, 241}},
    };
    for (const auto& [items, bytes] : cases) {
        const MouseMacroBody body = MouseMacroArea::encodeBody(macroOf(items));
        EXPECT_THAT(body.bytes, ElementsAreArray(bytes));
        EXPECT_FALSE(body.truncated);
    }
}

TEST(MouseMacroBodyTest, BodiesStopAtTheBufferSizeWithWholeItems) {
    // Each item: one entry and two extra delay entries (1200 ms = 300 units = 127 + 127 + 46),
    // 6 bytes; 93 items fill 558 bytes and the 94th would pass 560.
    std::vector<Item> items(100, Item{1, 4, 1200});
    const MouseMacroBody body = MouseMacroArea::encodeBody(macroOf(items));
    EXPECT_TRUE(body.truncated);
    EXPECT_EQ(body.bytes.size(), 558u);
    EXPECT_THAT(Bytes(body.bytes.end() - 6, body.bytes.end()),
                ElementsAre(0x80 | 127, 4, 127, 0, 46, 0));
}

TEST(MouseMacroAreaTest, KeyTableDirectoryAndBodies) {
    const MouseConfigModel model = test::fixtureModel();
    const std::vector<MacroGroup> macros = test::fixtureMacros();
    const std::vector<MacroRecord> shortcuts = test::fixtureShortcuts();
    const MouseDeviceValues values = MouseDeviceValues::fromModel(model, macros);
    ParameterImage image;
    EXPECT_TRUE(MouseMacroArea::add(image, values, macros, shortcuts).empty());
    auto at = [&](int address) { return image.at(address) ? int(*image.at(address)) : -1; };
    auto slot = [](int p, int s) { return 0x80 + (p * 14 + s) * 2; };

    // Key parameter table.
    EXPECT_EQ(at(slot(0, 2)), 0xE9); // consumer usage, low byte first
    EXPECT_EQ(at(slot(0, 2) + 1), 0x00);
    EXPECT_EQ(at(slot(2, 2)), 0x23); // 0x223
    EXPECT_EQ(at(slot(2, 2) + 1), 0x02);
    EXPECT_EQ(at(slot(0, 4)), 10);     // M1: first user macro
    EXPECT_EQ(at(slot(0, 5)), 10);     // the same macro on a second key: the same entry
    EXPECT_EQ(at(slot(1, 4)), 0);      // shortcut code 40: entry 0
    EXPECT_EQ(at(slot(1, 5)), 0);      // empty macro: no entry
    EXPECT_EQ(at(slot(2, 4)), 11);     // M2
    EXPECT_EQ(at(slot(2, 5)), 1);      // shortcut code 41
    EXPECT_EQ(at(slot(3, 13) + 1), 0); // the table ends before the directory count
    EXPECT_EQ(image.entries().begin()->first, 0x80);

    // Directory: ten shortcut entries and two user macros.
    EXPECT_EQ(at(0xF0), 12);
    auto entry = [&](int e) {
        Bytes bytes;
        for (int i = 0; i < 10; ++i)
            bytes.push_back(static_cast<std::uint8_t>(at(0xF1 + e * 10 + i)));
        return bytes;
    };
    const int bodies = (0xF1 + 12 * 10 + 31) / 32 * 32; // 0x180
    EXPECT_EQ(bodies, 0x180);
    // S0: count 3, body of 2 entries (press 100 ms, release)
    EXPECT_THAT(entry(0), ElementsAre(1, 0, 3, 0, 0x80, 0x01, 4, 0, 2, 0));
    // S1: until clicked, so the count is 1
    EXPECT_THAT(entry(1), ElementsAre(1, 1, 1, 0, 0x84, 0x01, 4, 0, 2, 0));
    for (int e = 2; e < 10; ++e)
        EXPECT_THAT(entry(e), ElementsAre(0, 0, 0, 0, 0, 0, 0, 0, 0, 0)) << e;
    EXPECT_THAT(entry(10), ElementsAre(3, 2, 1, 0, 0x88, 0x01, 4, 0, 2, 0));
    // M2 presses for 1200 ms: 127 + 127 + 46 units, so two extra entries
    EXPECT_THAT(entry(11), ElementsAre(3, 0, 3, 0, 0x8C, 0x01, 8, 0, 4, 0));
    EXPECT_EQ(at(0x180), 0x80 | 25);
    EXPECT_EQ(at(0x181), 6);
    EXPECT_EQ(at(0x18C), 0x80 | 127);
    EXPECT_EQ(at(0x18D), 5);
    EXPECT_EQ(image.endAddress(), 0x194);
}

TEST(MouseMacroAreaTest, AShortcutMissingFromTheListLeavesItsEntryEmpty) {
    MouseConfigModel model = test::fixtureModel();
    const MouseDeviceValues values = MouseDeviceValues::fromModel(model, {});
    ParameterImage image;
    MouseMacroArea::add(image, values, {}, {});
    EXPECT_EQ(*image.at(0xF0), 10);
    EXPECT_EQ(*image.at(0x80 + (1 * 14 + 4) * 2), 0); // still points at entry 0
    EXPECT_EQ(*image.at(0xF1), 0);                    // which holds nothing
}

} // namespace
} // namespace varnix
