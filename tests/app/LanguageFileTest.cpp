// SPDX-License-Identifier: GPL-3.0-or-later
// Language files, the control-text lookup and the list of extra fonts.
#include "app/LanguageFile.h"

#include "app/ExtraFontList.h"
#include "app/QueryControlText.h"
#include "device/DeviceRecord.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace varnix {
namespace {

const LanguageFile& testLanguage() {
    static const LanguageFile language =
        LanguageFile::read(test::testDataDir() / "language" / "lan_test.ini");
    return language;
}

TEST(LanguageFileTest, ReadsTitleFontAndSizes) {
    const LanguageFile& language = testLanguage();
    EXPECT_EQ(language.windowName, "Varnix Test Console");
    EXPECT_EQ(language.fontName, "Noto Sans");
    EXPECT_EQ(language.fontSizes, (std::map<int, int>{{0, 12}, {1, 14}, {3, 9}}));
}

TEST(LanguageFileTest, TextSectionsSplitAtTheFirstEqualsAndCutLongLines) {
    const LanguageFile& language = testLanguage();
    EXPECT_EQ(language.text("OthersUI", "TXT_APPLY"), "Apply");
    EXPECT_EQ(language.text("othersui", "txt_formula"), "1+1=2");
    EXPECT_EQ(language.text("OthersUI", "Line without equals sign"), std::nullopt);
    EXPECT_EQ(language.text("Mouse", "ImportErr"), "The file is not for this mouse.");
    EXPECT_EQ(language.text("Keyboard", "FullKeyWarn"), "All keys are in use.");
    EXPECT_EQ(language.text("KeyboardPopUI", "txt_default"), "Default");
    EXPECT_EQ(language.text("MacroPopUI", "txt_delay"), "Delay");
    EXPECT_EQ(language.text("Unknown", "txt_apply"), std::nullopt);
    // "txt_long=" and 250 characters: the line buffer keeps 199 characters of the line.
    EXPECT_EQ(language.text("MouseUI", "txt_long"), std::string(199 - 9, 'x'));
}

TEST(LanguageFileTest, ControlsLinesAndTheirRules) {
    const LanguageFile& language = testLanguage();
    ASSERT_EQ(language.controls.size(), 9u);
    EXPECT_EQ(language.controls[0], (ControlsEntry{"lab_Mouse_Title", "label", 0}));
    EXPECT_EQ(language.controls[8], (ControlsEntry{"lab_Padded", "label", 44}));

    using A = ControlWidthAction;
    struct Case {
        ControlsEntry entry;
        A action;
        int width;
    };
    const Case cases[] = {
        {{"lab", "label", 0}, A::FitToText, 0},  {{"lab", "label", 120}, A::FixedWidth, 120},
        {{"btn", "button", 0}, A::Unchanged, 0}, {{"btn", "button", 96}, A::FixedWidth, 96},
        {{"opt", "option", 0}, A::Unchanged, 0}, {{"opt", "option", 80}, A::FixedWidth, 80},
        {{"ed", "edit", 0}, A::Unchanged, 0},    {{"ed", "edit", 150}, A::FixedWidth, 150},
        {{"cb", "combo", 70}, A::Unchanged, 0},  {{"lab", "Label", 0}, A::Unchanged, 0},
    };
    for (const Case& c : cases) {
        const ControlsAction action = LanguageFile::actionFor(c.entry);
        EXPECT_EQ(action.action, c.action) << c.entry.kind << "," << c.entry.number;
        EXPECT_EQ(action.width, c.width) << c.entry.kind << "," << c.entry.number;
        EXPECT_EQ(action.controlName, c.entry.controlName);
    }

    std::vector<std::string> order;
    for (const ControlsAction& action : language.controlsActions())
        order.push_back(action.controlName);
    EXPECT_EQ(order, (std::vector<std::string>{
                         "opt_Mouse_Tab", "opt_Mouse_Other", "lab_Mouse_Title", "lab_Mouse_Hint",
                         "lab_Padded", "btn_Mouse_Apply", "btn_Mouse_Reset", "Edit_Macro_Name"}));
}

TEST(LanguageFileTest, MissingFileIsAnEmptyLanguage) {
    const LanguageFile language = LanguageFile::read(test::testDataDir() / "language/absent.ini");
    EXPECT_TRUE(language.windowName.empty());
    EXPECT_TRUE(language.fontName.empty());
    EXPECT_TRUE(language.fontSizes.empty());
    EXPECT_TRUE(language.controls.empty());
    EXPECT_EQ(QueryControlText(language, "txt_apply", 2, DevTypeMouse), std::nullopt);
}

TEST(QueryControlTextTest, OthersFirstThenThePageSection) {
    const LanguageFile& language = testLanguage();
    // Present in OthersUI, MouseUI and KeyboardUI: OthersUI wins on every page.
    for (int page : {0, 1, 2, 3})
        EXPECT_EQ(QueryControlText(language, "txt_shared", page, DevTypeMouse), "Shared text");

    struct Case {
        const char* id;
        int page;
        int type;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"txt_sync", 0, DevTypeMouse, "Sync all"},
        {"txt_record", 1, DevTypeKeyboard, "Record"},
        {"txt_dpi", 2, DevTypeMouse, "Sensitivity"},
        {"TXT_DPI", 4, DevTypeMouse, "Sensitivity"},
        {"txt_fn", 2, DevTypeKeyboard, "Fn keys"},
        {"txt_bright", 2, DevTypePad, "Brightness"},
        {"txt_bright", 3, 0, "Brightness"}, // any other type reads the pad texts
        {"txt_dpi", 2, DevTypeKeyboard, std::nullopt},
        {"txt_dpi", 0, DevTypeMouse, std::nullopt},
        {"txt_sync", -1, DevTypeMouse, std::nullopt},
        {"nothing", 2, DevTypeMouse, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QueryControlText(language, c.id, c.page, c.type), c.expected)
            << c.id << " page " << c.page << " type " << c.type;
}

TEST(ExtraFontListTest, ReadsNameToPathPairs) {
    test::DiagnosticCapture capture;
    const auto fonts = ExtraFontList::read(test::testDataDir() / "language" / "ExFont.json");
    EXPECT_EQ(fonts, (std::map<std::string, std::string>{
                         {"Oswald", "./res/Font/Oswald-Regular.ttf"},
                         {"Noto Sans CJK", "./res/Font/NotoSansCJK-Regular.ttc"}}));
    EXPECT_NE(capture.debug().find("FontPath"), std::string::npos); // the skipped element

    EXPECT_TRUE(ExtraFontList::read(test::testDataDir() / "language/none.json").empty());
    EXPECT_TRUE(ExtraFontList::parse("{\"Font\": [").empty());
    EXPECT_NE(capture.debug().find("parse error"), std::string::npos);
    EXPECT_TRUE(ExtraFontList::parse("[1, 2]").empty());
    EXPECT_TRUE(ExtraFontList::parse("{\"Font\": 3}").empty());
}

} // namespace
} // namespace varnix
