// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/LedEffectJson.h"

#include "lighting/LedMode.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

using nlohmann::json;

LedEffect sampleEffect() {
    LedEffect effect;
    effect.colourType = 1;
    effect.selectedSlot = 3;
    effect.mode = LedModeFlow;
    effect.brightness = 4;
    effect.speed = 2;
    effect.symmetric = true;
    effect.direction = 3;
    for (int i = 0; i < LedSlotCount; ++i)
        effect.slots[static_cast<std::size_t>(i)] = {i % 2, 0xFF000000u + 0x112233u * (i + 1)};
    return effect;
}

struct FormCase {
    LedJsonForm form;
    const char* colourTypeKey; // nullptr: not stored
    const char* selectedKey;
};

class LedEffectFormTest : public testing::TestWithParam<FormCase> {};

TEST_P(LedEffectFormTest, WritesTheFormsKeysAndReadsThemBack) {
    const FormCase& c = GetParam();
    const LedEffect effect = sampleEffect();
    const json object = writeLedEffect(effect, c.form);
    EXPECT_EQ(object.contains("siglecycle_"), c.colourTypeKey == std::string("siglecycle_"));
    EXPECT_EQ(object.contains("singlecycle"), c.colourTypeKey == std::string("singlecycle"));
    EXPECT_EQ(object.at(c.selectedKey), 3);
    EXPECT_TRUE(object.at("issysmetry").is_boolean());
    for (const char* key : {"curselmode", "brightnessvalue", "frequencyvalue", "directionsel"})
        EXPECT_TRUE(object.contains(key)) << key;

    LedEffect expected = effect;
    if (c.form == LedJsonForm::Shared)
        expected.colourType = LedSingleColour; // the shared form keeps no colour type
    EXPECT_EQ(readLedEffect(object, c.form), expected);
}

INSTANTIATE_TEST_SUITE_P(Forms, LedEffectFormTest,
                         testing::Values(FormCase{LedJsonForm::Keyboard, "siglecycle_", "colsel_"},
                                         FormCase{LedJsonForm::Pad, "singlecycle", "colsel"},
                                         FormCase{LedJsonForm::Shared, "", "colsel_"}));

TEST(LedEffectJsonTest, SlotKeysOfEachForm) {
    const LedEffect effect = sampleEffect();
    const json keyboard = writeLedEffect(effect, LedJsonForm::Keyboard);
    EXPECT_EQ(keyboard.at("ctrl_KBLed_Col6"), json::array({0, 0xFF000000u + 0x112233u * 7}));
    const json shared = writeLedEffect(effect, LedJsonForm::Shared);
    EXPECT_EQ(shared.at("ctrl_PublicLed_Col1"), json::array({1, 0xFF000000u + 0x112233u * 2}));
    const json pad = writeLedEffect(effect, LedJsonForm::Pad);
    ASSERT_EQ(pad.at("ledcolorgroup").size(), 7u);
    EXPECT_EQ(pad.at("ledcolorgroup")[1], (json{{"enable", 1}, {"ledcolor", 0xFF224466u}}));
}

TEST(LedEffectJsonTest, ReadingRebuildsAllSevenSlotsFromTheFile) {
    // A record that held other slots before: the read result holds only what the file says.
    json object = writeLedEffect(sampleEffect(), LedJsonForm::Keyboard);
    for (int i = 0; i < LedSlotCount; ++i)
        object["ctrl_KBLed_Col" + std::to_string(i)] = json::array({1, 0xFFFF0000u});
    const LedEffect read = readLedEffect(object, LedJsonForm::Keyboard);
    for (const ColourSlot& slot : read.slots)
        EXPECT_EQ(slot, (ColourSlot{1, 0xFFFF0000u}));
}

TEST(LedEffectJsonTest, NonBooleanSymmetryIsRejectedWithTheLibraryMessage) {
    for (const json& wrong : {json(1), json("true"), json(nullptr)}) {
        json object = writeLedEffect(sampleEffect(), LedJsonForm::Pad);
        object["issysmetry"] = wrong;
        try {
            (void)readLedEffect(object, LedJsonForm::Pad);
            FAIL() << "accepted " << wrong.dump();
        } catch (const json::type_error& error) {
            EXPECT_NE(std::string(error.what())
                          .find(std::string("type must be boolean, but is ") + wrong.type_name()),
                      std::string::npos)
                << error.what();
        }
    }
}

TEST(LedEffectJsonTest, MissingSlotOrShortPadArrayIsAnError) {
    json keyboard = writeLedEffect(sampleEffect(), LedJsonForm::Keyboard);
    keyboard.erase("ctrl_KBLed_Col4");
    EXPECT_THROW((void)readLedEffect(keyboard, LedJsonForm::Keyboard), json::out_of_range);
    json pad = writeLedEffect(sampleEffect(), LedJsonForm::Pad);
    pad["ledcolorgroup"].erase(6);
    EXPECT_THROW((void)readLedEffect(pad, LedJsonForm::Pad), json::out_of_range);
}

TEST(LedModeTest, NamesAndCodesMatch) {
    for (int code = 0; code < LedModeCount; ++code)
        EXPECT_EQ(ledModeFromName(*ledModeName(code)), code);
    EXPECT_EQ(ledModeName(7), "Single");
    EXPECT_EQ(ledModeName(12), std::nullopt);
    EXPECT_EQ(ledModeName(-1), std::nullopt);
    EXPECT_EQ(ledModeFromName("wave"), std::nullopt);
    EXPECT_EQ(ledModeFromName("Wave"), LedModeWave);
}

} // namespace
} // namespace varnix
