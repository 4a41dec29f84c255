// SPDX-License-Identifier: GPL-3.0-or-later
// Device values of a mouse model: key slots, key types, consumer usages, macro pass, polling,
// colours and masks.
#include "mouse/MouseDeviceValues.h"

#include "tests/mouse/MouseTestFixture.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

TEST(MouseDeviceValuesTest, PollingCodes) {
    const std::vector<std::pair<std::uint32_t, std::uint8_t>> cases{{0, 7}, {1, 3}, {2, 1},
                                                                    {3, 0}, {4, 7}, {100, 7}};
    for (const auto& [rate, code] : cases)
        EXPECT_EQ(mousePollingCode(rate), code) << rate;
}

TEST(MouseDeviceValuesTest, KeyTypesAndConsumerUsages) {
    const std::vector<std::tuple<int, std::uint8_t, std::uint16_t>> cases{
        {0, 0, 0},       {1, 1, 0},      {28, 28, 0},     {29, 15, 0x223}, {30, 15, 0x183},
        {31, 15, 0x18A}, {32, 15, 0xE9}, {33, 15, 0xEA},  {34, 15, 0xB6},  {35, 15, 0xB5},
        {36, 15, 0xE2},  {37, 15, 0xCD}, {38, 15, 0x192}, {39, 15, 0xB7},  {40, 13, 0},
        {48, 13, 0},     {49, 0, 0},     {-1, 0, 0},      {-200, 0, 0}};
    for (const auto& [code, type, usage] : cases)
        EXPECT_EQ(mouseKeyType(code, nullptr), (MouseKeyType{type, usage})) << code;
}

TEST(MouseDeviceValuesTest, MacroKeysFollowTheRepeatModeAndAMissingMacroPlaysNothing) {
    MacroData data;
    const std::vector<std::pair<std::uint8_t, std::uint8_t>> cases{{0, 13}, {1, 13},    {2, 14},
                                                                   {3, 13}, {0xF6, 14}, {0xF4, 13}};
    for (const auto& [rptType, type] : cases) {
        data.rptType = rptType;
        EXPECT_EQ(mouseKeyType(50, &data).type, type) << int(rptType);
        EXPECT_EQ(mouseKeyType(255, &data).type, type) << int(rptType);
    }
    EXPECT_EQ(mouseKeyType(50, nullptr).type, 0);
}

TEST(MouseDeviceValuesTest, SlotsGoThroughTheKeyMapAndTheEmptyMacroPassSilencesKeys) {
    const MouseDeviceValues values =
        MouseDeviceValues::fromModel(test::fixtureModel(), test::fixtureMacros());
    auto type = [&](int p, int s) { return values.keyTypes[p][s].type; };
    // Profile 0: keys 1 and 2 are swapped on the device.
    EXPECT_EQ(values.slots[0][0].code, 2);
    EXPECT_EQ(values.slots[0][1].code, 1);
    EXPECT_EQ(type(0, 0), 2);
    EXPECT_EQ(type(0, 1), 1);
    EXPECT_EQ(values.keyTypes[0][2], (MouseKeyType{15, 0xE9}));
    EXPECT_EQ(type(0, 3), 4);
    EXPECT_EQ(type(0, 4), 14); // M1 repeats while held
    EXPECT_EQ(values.slots[0][4].macGuid, "M1");
    EXPECT_EQ(type(1, 4), 13); // shortcut code 40
    EXPECT_EQ(values.slots[1][5].code, 50);
    EXPECT_EQ(type(1, 5), 0);  // bound to the empty macro
    EXPECT_EQ(type(2, 4), 13); // M2 repeats a count
    EXPECT_EQ(values.keyTypes[2][2], (MouseKeyType{15, 0x223}));
    EXPECT_EQ(type(3, 4), 12);
    EXPECT_EQ(type(3, 5), 28);
    // Slots without a key keep 0.
    for (int p = 0; p < 4; ++p)
        for (int s = 6; s < 14; ++s)
            EXPECT_EQ(type(p, s), 0);
}

TEST(MouseDeviceValuesTest, KeyMapEntriesOutsideTheSlotsAreSkipped) {
    MouseConfigModel model = test::fixtureModel();
    model.keyMap = {0, 15, -3, 14, 3, 3};
    model.keyNum = 40; // more than the twelve keys the profile can describe
    const MouseDeviceValues values = MouseDeviceValues::fromModel(model, {});
    EXPECT_EQ(values.slots[0][13].code, 4); // key 3 -> device key 14
    EXPECT_EQ(values.slots[0][2].code, 50); // keys 4 and 5 both name slot 2: the last one wins
    EXPECT_EQ(values.slots[0][0].code, 0);
    EXPECT_EQ(values.keyTypes[0][13].type, 0); // slots 12 and 13 carry no type
}

TEST(MouseDeviceValuesTest, ProfileDpiAndLedValues) {
    const MouseDeviceValues values =
        MouseDeviceValues::fromModel(test::fixtureModel(), test::fixtureMacros());
    EXPECT_EQ(values.profile, 2);
    EXPECT_EQ(values.dpiLevel, 3);
    EXPECT_EQ(values.fire, 1000u);
    EXPECT_EQ(values.pollingCode, 1);
    EXPECT_EQ(values.ledMode, 8);
    EXPECT_EQ(values.ledBrightnessCode, 2);
    EXPECT_EQ(values.ledSpeedCode, 3);
    EXPECT_TRUE(values.ledSymmetric);
    EXPECT_EQ(values.ledDirection, 2);
    EXPECT_EQ(values.dpiEnableMask, 0b011011);
    EXPECT_EQ(values.ledEnableMask, 0b0101010);
    EXPECT_EQ(values.dpi[3].index, 17);
    EXPECT_EQ(values.dpi[3].colour, (DeviceColour{7, 7, 7}));
    const std::vector<std::pair<std::uint32_t, DeviceColour>> colours{{0xFFFF0000, {0, 15, 15}},
                                                                      {0xFF10F0A0, {14, 0, 5}},
                                                                      {0x00000000, {15, 15, 15}},
                                                                      {0xFF123456, {14, 12, 10}}};
    for (const auto& [argb, colour] : colours)
        EXPECT_EQ(DeviceColour::fromArgb(argb), colour) << std::hex << argb;
}

} // namespace
} // namespace varnix
