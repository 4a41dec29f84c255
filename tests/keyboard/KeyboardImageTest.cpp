// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyboardTestModel.h"
#include "keyboard/KeyboardImageBuilder.h"
#include "macro/MacroFileFormat.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

MacroRecord macroRecord(const std::string& guid, std::initializer_list<int> keys,
                        std::uint8_t rptType = 0) {
    MacroRecord record;
    record.guid = guid;
    record.name = guid;
    record.data.rptType = rptType;
    record.data.macRpt = 1;
    for (int key : keys) {
        const std::size_t i = record.data.num++;
        record.data.macVal[i] = static_cast<std::uint8_t>(key);
        record.data.macSta[i] = MacroStatusPress;
        record.data.macDly[i] = 100;
    }
    return record;
}

class KeyboardImageTest : public testing::Test {
protected:
    KeyboardImageTest() {
        test::TempDir dir;
        config.LoadKeyboardConfig(test::copyShippedKeyboard(dir));
        MacroGroup group;
        group.guid = "G";
        group.macros = {macroRecord("M0", {4, 5}), macroRecord("Empty", {}),
                        macroRecord("M2", {6}, 2), macroRecord("M3", {7, 8, 9}, 5)};
        macros = {group};
    }

    KeyBinding& key(const std::string& name) { return config.keys[0].at(name); }
    void bind(const std::string& name, int code, const std::string& macro) {
        key(name).code = code;
        key(name).grpGuid = "G";
        key(name).macGuid = macro;
    }
    KeyboardImage build(int base = 0) {
        Expected<KeyboardImage> image = KeyboardImageBuilder(config, macros, state).build(base);
        EXPECT_TRUE(image) << image.outcome().detail;
        return image ? *image : KeyboardImage{};
    }
    std::uint8_t byteAt(int offset, int base = 0) {
        return build(base).image.at(base + offset).value_or(0xEE);
    }

    KeyboardConfig config;
    std::vector<MacroGroup> macros;
    KeyboardDeviceState state;
};

TEST_F(KeyboardImageTest, ShippedModelGivesACompleteImage) {
    const ParameterImage image = build().image;
    std::vector<int> missing;
    for (int offset = 0; offset < 348; ++offset)
        if (image.contains(offset) != (offset < 33 || offset >= 72))
            missing.push_back(offset);
    EXPECT_THAT(missing, testing::IsEmpty());
    EXPECT_EQ(image.size(), 33u + 276u);
    EXPECT_EQ(image.at(72), 0x29); // Esc at 0_0
}

TEST_F(KeyboardImageTest, MatrixIsColumnMajorWithMappedExtraKeys) {
    const ParameterImage image = build().image;
    for (const auto& [name, binding] : config.keys[0]) {
        const int row = binding.position[0] - '0';
        const int column = std::stoi(binding.position.substr(2));
        const int expected = name == "btn_KBKey_Calc" ? 0xD9 : binding.code;
        EXPECT_EQ(image.at(72 + 8 * column + row), expected) << name;
    }
    EXPECT_EQ(image.at(72 + 8 * 19 + 7), 0xD9);
}

TEST_F(KeyboardImageTest, CellRules) {
    struct Case {
        const char* what;
        int code;
        const char* macro;
        int cell;
    };
    const Case cases[] = {
        {"an ordinary code", 0x2B, "", 0x2B},
        {"a key not assigned yet keeps its legend", UnassignedKeyCode, "", 0x14},
        {"a known extra key is mapped", 300, "", 0xD9},
        {"an unknown extra key gets no function", 400, "", 0},
        {"a macro slot with a macro", 165, "M0", 165},
        {"a macro slot whose macro is empty", 165, "Empty", 0},
        {"a macro slot whose macro is gone", 166, "Gone", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bind("btn_KBKey_Q", c.code, c.macro); // Q at 2_1
        EXPECT_EQ(byteAt(72 + 8 * 1 + 2), c.cell);
    }
}

TEST_F(KeyboardImageTest, KeyWithoutPositionContributesNothing) {
    KeyBinding& light = key("btn_KBKey_Light");
    ASSERT_EQ(light.position, "5_6");
    light.position = NoMatrixPosition;
    light.code = 0x04;
    EXPECT_EQ(byteAt(72 + 8 * 6 + 5), 0);
}

TEST_F(KeyboardImageTest, ChannelOrders) {
    // Slot 0: red 0x1., green 0x2., blue 0x3. -> 14, 13, 12.
    config.lighting.slots[0].colour = 0xFF102030u;
    struct Case {
        const char* order;
        int first, second, third;
    };
    const Case cases[] = {{"RGB", 14, 13, 12}, {"", 14, 13, 12},    {"GRB", 13, 14, 12},
                          {"BGR", 12, 13, 14}, {"RBG", 14, 12, 13}, {"GBR", 13, 12, 14},
                          {"XYZ", 14, 13, 12}, {"G", 13, 13, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.order);
        config.feature.RGBLED = c.order;
        const ParameterImage image = build().image;
        EXPECT_EQ(image.at(1), (c.first << 4) | c.third);
        EXPECT_EQ(*image.at(2) & 0x0F, c.second);
    }
}

TEST_F(KeyboardImageTest, GrbStoresGreenHighBlueLowAndRedInTheSecondPlane) {
    config.feature.RGBLED = "GRB";
    for (int s = 0; s < LedSlotCount; ++s)
        config.lighting.slots[static_cast<std::size_t>(s)].colour =
            0xFF000000u | (static_cast<std::uint32_t>(s) << 20) |
            (static_cast<std::uint32_t>(s + 1) << 12) | (static_cast<std::uint32_t>(s + 2) << 4);
    const ParameterImage image = build().image;
    for (int s = 0; s < LedSlotCount; ++s) {
        EXPECT_EQ(image.at(1 + 2 * s), ((15 - (s + 1)) << 4) | (15 - (s + 2)));
        EXPECT_EQ(*image.at(2 + 2 * s) & 0xF, 15 - s);
    }
    // High nibbles of the second plane: X1..X3, the words' top bits, 0.
    EXPECT_EQ(*image.at(2) >> 4, 1);
    EXPECT_EQ(*image.at(4) >> 4, 0);
    EXPECT_EQ(*image.at(8) >> 4, 0xF);
    EXPECT_EQ(*image.at(14) >> 4, 0);
    EXPECT_EQ(image.at(27), 0xFF);
}

TEST_F(KeyboardImageTest, EffectByteAndDirectionSwap) {
    config.lighting.speed = 3;
    config.lighting.brightness = 5;
    const int swapped[] = {1, 0, 2, 3};
    for (int direction = 0; direction < 4; ++direction) {
        config.lighting.direction = direction;
        EXPECT_EQ(byteAt(24), (swapped[direction] << 6) | (2 << 3) | 2) << direction;
    }
    config.lighting.speed = 0; // (0 - 1) AND 7
    config.lighting.brightness = 0;
    config.lighting.direction = 0;
    EXPECT_EQ(byteAt(24), 0x40 | (7 << 3) | 7);
}

TEST_F(KeyboardImageTest, SlotNumberRules) {
    struct Case {
        const char* what;
        int mode, colourType, selected;
        std::uint8_t enabled;
        int special;
        int slot;
        std::uint8_t mask;
    };
    const Case cases[] = {
        {"single colour: selected + 1", 1, 0, 3, 0x7F, 0, 4, 0x7F},
        {"cycle: 0", 1, 1, 3, 0x7F, 0, 0, 0x7F},
        {"constant with cycle still takes the slot", 2, 1, 4, 0x7F, 0, 5, 0x7F},
        {"1 becomes the first enabled slot", 1, 0, 0, 0x0C, 0, 3, 0x0C},
        {"special mode lowers by one", 1, 0, 3, 0x05, 2, 3, 0x7F},
        {"special mode keeps 0", 1, 1, 3, 0x05, 2, 0, 0x7F},
        {"special mode skips the first-enabled rule", 1, 0, 0, 0x0C, 2, 0, 0x7F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        config.lighting.mode = c.mode;
        config.lighting.colourType = c.colourType;
        config.lighting.selectedSlot = c.selected;
        config.lighting.symmetric = true;
        for (int i = 0; i < LedSlotCount; ++i)
            config.lighting.slots[static_cast<std::size_t>(i)].enabled = (c.enabled >> i) & 1;
        state.specialMode = c.special;
        EXPECT_EQ(KeyboardImageBuilder::slotNumber(config.lighting, c.special), c.slot);
        const ParameterImage image = build().image;
        EXPECT_EQ(image.at(25), 0x80 | (c.slot << 4) | c.mode);
        EXPECT_EQ(image.at(26), 0x80 | c.mask);
        EXPECT_EQ(image.at(17), c.mode);
    }
}

TEST_F(KeyboardImageTest, LockByte) {
    struct Case {
        int altF4, winApp, allKey, winLockSave, fnW;
        std::uint8_t byte;
    };
    const Case cases[] = {{0, 0, 0, 0, 0, 0x40},
                          {1, 0, 0, 0, 0, 0x00},
                          {0, 1, 1, 1, 1, 0x75},
                          {1, 1, 0, 0, 1, 0x14},
                          {1, 0, 1, 1, 0, 0x21}};
    for (const Case& c : cases) {
        config.otherKeys[0].at("btn_KB_AltF4En").code = c.altF4;
        config.otherKeys[0].at("btn_KB_WinAppEn").code = c.winApp;
        config.otherKeys[0].at("btn_KB_AllKeyEn").code = c.allKey;
        config.feature.WIN_LOCK_SAVE_EN = c.winLockSave;
        config.feature.FN_W_ENB = c.fnW;
        EXPECT_EQ(byteAt(0), c.byte);
    }
}

TEST_F(KeyboardImageTest, SettingsPointersKnobAndFnTable) {
    state.switchSets[1] = 0x0A4; // first set switch: bit 2 -> X2 = 3
    state.flagX = true;
    config.otherKeys[0].at("btn_scr0").code = 9;
    config.otherKeys[0].at("btn_scr1").code = 10;
    const int base = 0x120;
    const ParameterImage image = build(base).image;
    EXPECT_EQ(*image.at(base + 2) >> 4, 1);
    EXPECT_EQ(*image.at(base + 4) >> 4, 3);
    EXPECT_EQ(*image.at(base + 6) >> 4, 0);
    EXPECT_EQ(*image.at(base + 10) >> 4, 0);
    EXPECT_EQ(image.at(base + 19), 0xA4);
    EXPECT_EQ(image.at(base + 20), 0xA0);
    EXPECT_EQ(image.at(base + 28), (base + 72) & 0xFF);
    EXPECT_EQ(image.at(base + 29), (base + 72) >> 8);
    EXPECT_EQ(image.at(base + 30), (base + 248) & 0xFF);
    EXPECT_EQ(image.at(base + 31), (base + 248) >> 8);
    EXPECT_EQ(image.at(base + 32), 0xA9);
    const int fn[] = {0xCD, 0xC9, 0xCC, 0xD8, 0xD6, 0xCA, 0xCB, 0xCE, 0xCF, 0xDA, 0xD7, 0xD9};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(image.at(base + 232 + i), fn[i]);
    for (int offset = 244; offset < 248; ++offset)
        EXPECT_EQ(image.at(base + offset), 0);

    state.rememberWrite(7); // after a write-out X1 takes the mode
    EXPECT_EQ(*build(base).image.at(base + 2) >> 4, 7);
}

TEST_F(KeyboardImageTest, DirectoryAndBodies) {
    bind("btn_KBKey_Q", 165, "M0");    // slot 0: 2 items
    bind("btn_KBKey_W", 167, "Empty"); // slot 2: empty macro, nothing to play
    bind("btn_KBKey_E", 184, "M2");    // slot 11: repeat until release
    bind("btn_KBKey_R", 192, "M3");    // slot 19: repeat mode 1 with bit 2
    for (const int base : {0, 5}) {
        SCOPED_TRACE(base);
        const KeyboardImage image = build(base);
        const int first = base == 0 ? 352 : 360;
        EXPECT_EQ(image.slots[0].address, first);
        EXPECT_EQ(image.slots[0].size, 2 * 2 + 2);
        EXPECT_EQ(image.slots[2].macro, nullptr);
        EXPECT_EQ(image.slots[11].address, first + 6);
        EXPECT_EQ(image.slots[19].address, first + 6 + 4);
        auto entry = [&](int slot) {
            std::vector<int> bytes;
            for (int b = 0; b < 5; ++b)
                bytes.push_back(*image.image.at(base + 248 + 5 * slot + b));
            return bytes;
        };
        EXPECT_THAT(entry(0), testing::ElementsAre(8, 2, first & 0xFF, first >> 8, 0));
        EXPECT_THAT(entry(2), testing::ElementsAre(8, 0, (first + 6) & 0xFF, (first + 6) >> 8, 0));
        EXPECT_THAT(entry(11),
                    testing::ElementsAre(8, 0x81, (first + 6) & 0xFF, (first + 6) >> 8, 0));
        EXPECT_THAT(entry(19), testing::ElementsAre(8, 3, (first + 10) & 0xFF,
                                                    0x80 | 0x40 | ((first + 10) >> 8), 0));
        // Bodies: M0 press A, press B; M2 press C; M3 press D, E, F (repeat header 1, 0).
        std::vector<int> bodies;
        for (int a = first; a < first + 18; ++a)
            bodies.push_back(image.image.at(a).value_or(-1));
        EXPECT_THAT(bodies, testing::ElementsAre(1, 0, 0x8B, 4, 0x81, 5, 1, 0, 0x81, 6, 1, 0, 0x8B,
                                                 7, 0x8B, 8, 0x81, 9));
        EXPECT_EQ(image.image.endAddress(), first + 18);
        EXPECT_EQ(image.image.at(base + 72 + 8 * 2 + 2), 0); // W: its macro is empty
    }
}

TEST_F(KeyboardImageTest, LongMacroSetsTheHighCountBit) {
    MacroRecord big = macroRecord("Big", {});
    for (int i = 0; i < 130; ++i) {
        big.data.macVal[static_cast<std::size_t>(i)] = 4;
        big.data.macSta[static_cast<std::size_t>(i)] = MacroStatusRelease;
    }
    big.data.num = 130;
    macros[0].macros.push_back(big);
    bind("btn_KBKey_T", 170, "Big"); // slot 5
    const KeyboardImage image = build();
    EXPECT_EQ(image.slots[5].entryCount, 130);
    EXPECT_EQ(image.image.at(248 + 25 + 1), 130 & 0x7F);
    EXPECT_EQ(image.image.at(248 + 25 + 4), 0x80);
}

TEST_F(KeyboardImageTest, ASlotCodeOnTwoKeysPlaysTheFirstKeysMacro) {
    // Twenty slot codes for twenty-one macro keys: the 21st key can only repeat a code.
    bind("btn_KBKey_Y", 166, "M2");
    bind("btn_KBKey_U", 166, "M0");
    const KeyboardImage image = build();
    EXPECT_EQ(image.slots[1].macro->guid, "M0"); // "btn_KBKey_U" < "btn_KBKey_Y"
}

TEST_F(KeyboardImageTest, BodyPastTheAddressLimitRefusesTheImage) {
    bind("btn_KBKey_Q", 165, "M0");
    const Expected<KeyboardImage> refused =
        KeyboardImageBuilder(config, macros, state).build(0x3FFF - 350);
    EXPECT_FALSE(refused);
    EXPECT_THAT(refused.outcome().detail, testing::HasSubstr("0x4000"));
    EXPECT_TRUE(KeyboardImageBuilder(config, macros, state).build(0x4000 - 352 - 6));
}

TEST_F(KeyboardImageTest, GoldenImageOfTheShippedModel) {
    // The shipped model with the shipped macros Copy and Paste on F1 and F2.
    std::vector<MacroGroup> shipped;
    const json document = json::parse(
        test::readTextFile(test::sourceResDir() / "MacroKorv/MacroData/macroConfig.json"));
    for (const json& group : document.at("MacroGrpInfo"))
        shipped.push_back(macrofile::groupFromJson(group));
    ASSERT_FALSE(shipped.empty());
    ASSERT_GE(shipped[0].macros.size(), 2u);
    macros = shipped;
    for (int i = 0; i < 2; ++i) {
        KeyBinding& f = key(i == 0 ? "btn_KBKey_F1" : "btn_KBKey_F2");
        f.code = 165 + i;
        f.grpGuid = shipped[0].guid;
        f.macGuid = shipped[0].macros[static_cast<std::size_t>(i)].guid;
    }
    const std::string golden =
        test::readTextFile(test::testDataDir() / "keyboard/shipped-macros.image");
    const Expected<ParameterImage> expected = ParameterImage::fromText(golden);
    ASSERT_TRUE(expected) << expected.outcome().detail;
    EXPECT_EQ(build().image.toText(), expected->toText());
}

} // namespace
} // namespace varnix
