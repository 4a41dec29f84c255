// SPDX-License-Identifier: GPL-3.0-or-later
// Layout position files: reading, record kinds and the attribute texts each record sets.
#include "app/PositionSheet.h"

#include "app/SliderAttributes.h"
#include "tests/support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace varnix {
namespace {

using ::testing::HasSubstr;

fs::path positionFixture(const std::string& name) {
    return test::testDataDir() / "position" / name;
}

struct LoadedSheet {
    PositionSheet sheet;
    Outcome result;
    std::string console;
    std::string debug;
};

LoadedSheet load(const std::string& name) {
    test::DiagnosticCapture capture;
    LoadedSheet loaded;
    loaded.result = LoadPositionSheet(positionFixture(name), loaded.sheet);
    loaded.console = capture.console();
    loaded.debug = capture.debug();
    return loaded;
}

const CControlAttributes& record(const PositionSheet& sheet, const std::string& name) {
    for (const auto& control : sheet.controls)
        if (control->name() == name)
            return *control;
    throw std::runtime_error("no record " + name);
}

AttributeAssignment set(const std::string& control, const std::string& attribute,
                        const std::string& value, const std::string& child = {}) {
    return AttributeAssignment{control, child, attribute, value};
}

const std::string Normal = "MouseKorv/MouseA/png/key_normal.png";
const std::string Over = "MouseKorv/MouseA/png/key_over.png";
const std::string Down = "MouseKorv/MouseA/png/key_down.png";

TEST(PositionSheetTest, ReadsTheContainerAndEveryRecordInOrder) {
    const LoadedSheet loaded = load("mousekey.json");
    EXPECT_EQ(loaded.result.status, Status::Done);
    EXPECT_TRUE(loaded.result.detail.empty());
    const PositionSheet& sheet = loaded.sheet;
    EXPECT_EQ(sheet.containerName, "VLayout_MouseKey");
    EXPECT_EQ(sheet.width, 990);
    EXPECT_EQ(sheet.height, 560);
    EXPECT_EQ(sheet.bkImage, "MouseKorv/MouseA/png/key_bk.png");
    EXPECT_EQ(sheet.normalImage, Normal);
    EXPECT_EQ(sheet.overImage, Over);
    EXPECT_EQ(sheet.downImage, Down);
    EXPECT_EQ(sheet.containerAssignment(),
              set("VLayout_MouseKey", "bkimage", "MouseKorv/MouseA/png/key_bk.png"));

    EXPECT_EQ(PositionedControlNames(sheet),
              (std::vector<std::string>{
                  "opt_MouseKey_Key1", "btn_MouseKey_Click0", "opt_MouseKey_Ver",
                  "slider_MouseKey_Speed", "lab_MouseKey_Title", "lab_MouseKey_Capital",
                  "opt_MouseKey_NoType", "btn_MouseKey_BadPos", "btn_MouseKey_Last"}));
    std::vector<std::string_view> kinds;
    for (const auto& control : sheet.controls)
        kinds.push_back(control->kind());
    // "Label" (capital L) and an entry without a type are options.
    EXPECT_EQ(kinds, (std::vector<std::string_view>{"option", "button", "optver", "slider", "label",
                                                    "option", "option", "button", "button"}));
}

TEST(PositionSheetTest, OptionSetsPosImagesFromItsOwnRegionAndVisibility) {
    const LoadedSheet loaded = load("mousekey.json");
    const CControlAttributes& option = record(loaded.sheet, "opt_MouseKey_Key1");
    EXPECT_EQ(option.rectangle(), (ControlRect{10, 20, 40, 60})); // pos [10, 20, 30, 40]
    const std::string region = "' source='10,20,40,60'";
    EXPECT_EQ(option.attributePairs(loaded.sheet.skinPaths()),
              (std::vector<AttributeAssignment>{
                  set("opt_MouseKey_Key1", "pos", "10,20,40,60"),
                  set("opt_MouseKey_Key1", "normalimage", "file='" + Normal + region),
                  set("opt_MouseKey_Key1", "hotimage", "file='" + Over + region),
                  set("opt_MouseKey_Key1", "pushedimage", "file='" + Down + region),
                  set("opt_MouseKey_Key1", "Selectedimage", "file='" + Down + region),
                  set("opt_MouseKey_Key1", "visible", "true")}));
}

TEST(PositionSheetTest, EntryWithoutVisibleLeavesTheVisibilityAlone) {
    const LoadedSheet loaded = load("mousekey.json");
    const CControlAttributes& button = record(loaded.sheet, "btn_MouseKey_Click0");
    EXPECT_EQ(button.visibility(), "VisNoChange");
    const std::string region = "' source='100,50,160,74'";
    EXPECT_EQ(button.attributePairs(loaded.sheet.skinPaths()),
              (std::vector<AttributeAssignment>{
                  set("btn_MouseKey_Click0", "pos", "100,50,160,74"),
                  set("btn_MouseKey_Click0", "normalimage", "file='" + Normal + region),
                  set("btn_MouseKey_Click0", "hotimage", "file='" + Over + region),
                  set("btn_MouseKey_Click0", "pushedimage", "file='" + Down + region)}));
    // Negative coordinates are formatted as they are.
    EXPECT_EQ(record(loaded.sheet, "btn_MouseKey_Last").attributePairs({})[0],
              set("btn_MouseKey_Last", "pos", "-5,-5,5,5"));
}

TEST(PositionSheetTest, OptverConfiguresItsSubControlsAndNoVisibility) {
    const LoadedSheet loaded = load("mousekey.json");
    const CControlAttributes& optver = record(loaded.sheet, "opt_MouseKey_Ver");
    EXPECT_EQ(optver.visibility(), "false");
    const std::string name = "opt_MouseKey_Ver";
    const std::string region = "' source='200,60,280,160'";
    const std::string switchRegion = "' source='222,47,255,53'";
    EXPECT_EQ(
        optver.attributePairs(loaded.sheet.skinPaths()),
        (std::vector<AttributeAssignment>{
            set(name, "pos", "200,60,280,160"),
            set(name, "normalimage", "file='" + Normal + region),
            set(name, "hotimage", "file='" + Over + region),
            set(name, "pushedimage", "file='" + Down + region),
            set(name, "selectedimage", "file='" + Down + region),
            set(name, "pos", "34,9,67,15", "switch"),
            set(name, "normalimage", "file='" + Normal + switchRegion, "switch"),
            set(name, "hotimage", "file='" + Over + switchRegion, "switch"),
            set(name, "pushedimage", "file='" + Down + switchRegion, "switch"),
            set(name, "selectedimage", "file='" + Down + switchRegion, "switch"),
            set(name, "pos", "0,40,40,70", "value"), set(name, "pos", "0,80,40,90", "color")}));
}

TEST(PositionSheetTest, SliderIgnoresVisibleAndSetsOnlyPos) {
    const LoadedSheet loaded = load("mousekey.json");
    const auto& slider =
        dynamic_cast<const SliderAttributes&>(record(loaded.sheet, "slider_MouseKey_Speed"));
    EXPECT_EQ(slider.visibility(), "VisNoChange");
    EXPECT_EQ(slider.thumbImage(), "thumb.png");
    EXPECT_EQ(
        slider.attributePairs(loaded.sheet.skinPaths()),
        (std::vector<AttributeAssignment>{set("slider_MouseKey_Speed", "pos", "5,6,205,16")}));
}

TEST(PositionSheetTest, LabelTakesItsBackgroundFromTheNormalSkin) {
    const LoadedSheet loaded = load("mousekey.json");
    EXPECT_EQ(record(loaded.sheet, "lab_MouseKey_Title").attributePairs(loaded.sheet.skinPaths()),
              (std::vector<AttributeAssignment>{
                  set("lab_MouseKey_Title", "pos", "0,0,120,20"),
                  set("lab_MouseKey_Title", "bkimage", "file='" + Normal + "' source='0,0,120,20'"),
                  set("lab_MouseKey_Title", "visible", "false")}));
    // "Label" is an option, so it gets the option's attributes.
    const auto capital =
        record(loaded.sheet, "lab_MouseKey_Capital").attributePairs(loaded.sheet.skinPaths());
    ASSERT_EQ(capital.size(), 5u);
    EXPECT_EQ(capital[4].attribute, "Selectedimage");
}

TEST(PositionSheetTest, BrokenEntryKeepsWhatItReadAndSaysWhy) {
    const LoadedSheet loaded = load("mousekey.json");
    const CControlAttributes& broken = record(loaded.sheet, "btn_MouseKey_BadPos");
    EXPECT_EQ(broken.visibility(), "false");
    EXPECT_EQ(broken.rectangle(), ControlRect{});
    EXPECT_THAT(loaded.console, HasSubstr("[json.exception.out_of_range.401]"));
    EXPECT_EQ(std::count(loaded.console.begin(), loaded.console.end(), '\n'), 1);
    // The entries after it are read normally.
    EXPECT_EQ(record(loaded.sheet, "btn_MouseKey_Last").rectangle(), (ControlRect{-5, -5, 5, 5}));
}

TEST(PositionSheetTest, EmptyNormalSkinPositionsButSetsNoImagesNorVisibility) {
    const LoadedSheet loaded = load("no-skin.json"); // "Controlinfo" inside "Containerinfo"
    ASSERT_EQ(loaded.sheet.controls.size(), 3u);
    for (const auto& control : loaded.sheet.controls) {
        const auto pairs = control->attributePairs(loaded.sheet.skinPaths());
        ASSERT_EQ(pairs.size(), 1u) << control->name();
        EXPECT_EQ(pairs[0].attribute, "pos");
        EXPECT_TRUE(pairs[0].child.empty());
    }
    EXPECT_EQ(loaded.sheet.controls[0]->attributePairs(loaded.sheet.skinPaths())[0].value,
              "10,20,40,60");
}

TEST(PositionSheetTest, MalformedOrMistypedFilesKeepWhatWasReadAndReportTheMessage) {
    const LoadedSheet malformed = load("malformed.json");
    EXPECT_EQ(malformed.result.status, Status::Invalid);
    EXPECT_THAT(malformed.result.detail, HasSubstr("[json.exception.parse_error.101]"));
    EXPECT_EQ(malformed.debug, malformed.result.detail + "\n");
    EXPECT_TRUE(malformed.sheet.containerName.empty());
    EXPECT_TRUE(malformed.sheet.controls.empty());

    const LoadedSheet typed = load("wrong-type.json");
    EXPECT_EQ(typed.result.status, Status::Invalid);
    EXPECT_THAT(typed.result.detail, HasSubstr("type must be number, but is string"));
    EXPECT_THAT(typed.debug, HasSubstr("type must be number, but is string"));
    EXPECT_EQ(typed.sheet.containerName, "VLayout_Typed");
    EXPECT_TRUE(typed.sheet.bkImage.empty());
    EXPECT_TRUE(typed.sheet.controls.empty());

    PositionSheet sheet;
    const Outcome missing = LoadPositionSheet(positionFixture("absent.json"), sheet);
    EXPECT_EQ(missing.status, Status::Missing);
    EXPECT_FALSE(missing.hasMessage()) << "the page decides what a missing layout shows";
    EXPECT_TRUE(sheet.controls.empty());
}

TEST(PositionSheetTest, HostileDocumentsNeverCrash) {
    const char* cases[] = {
        "",
        "[]",
        "{\"Containerinfo\": 5}",
        "{\"Containerinfo\": {\"containname\": \"c\", \"width\": 1, \"height\": 1, \"bkimage\": "
        "\"\", \"normalimage\": \"n\", \"overimage\": \"\", \"downimage\": \"\"}, "
        "\"Controlinfo\": [5, null, \"x\", {}, {\"type\": 3, \"ctrlname\": \"a\", \"pos\": "
        "[2147483647, 2147483647, 2147483647, 2147483647]}, {\"type\": \"slider\"}]}",
        "{\"Containerinfo\": {\"containname\": \"c\", \"width\": 1, \"height\": 1, \"bkimage\": "
        "\"\", \"normalimage\": \"n\", \"overimage\": \"\", \"downimage\": \"\"}, "
        "\"Controlinfo\": {\"a\": 1}}",
    };
    for (const char* text : cases) {
        test::DiagnosticCapture capture;
        PositionSheet sheet;
        ParsePositionSheet(text, sheet);
        for (const auto& control : sheet.controls)
            (void)control->attributePairs(sheet.skinPaths());
    }
    PositionSheet sheet;
    test::DiagnosticCapture capture;
    ParsePositionSheet(cases[3], sheet);
    ASSERT_EQ(sheet.controls.size(), 6u);
    EXPECT_EQ(sheet.controls[4]->kind(), "option");
    EXPECT_EQ(sheet.controls[4]->rectangle(),
              (ControlRect{2147483647, 2147483647, 2147483647, 2147483647}));
}

} // namespace
} // namespace varnix
