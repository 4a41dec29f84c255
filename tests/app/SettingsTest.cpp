// SPDX-License-Identifier: GPL-3.0-or-later
// res/Set.ini: loading, choosing a language, the DPI popup switch, the shared-lighting entries.
#include "app/Settings.h"

#include "app/LanguageTable.h"
#include "tests/support/TestSupport.h"

#include <climits>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace varnix {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    fs::path file() const { return dir / "Set.ini"; }
    Settings load(const std::string& text) {
        test::writeTextFile(file(), text);
        Settings settings(file());
        settings.LoadSettings();
        return settings;
    }
    test::TempDir dir;
};

TEST_F(SettingsTest, MissingFileGivesTheDefaultsAndCreatesNothing) {
    Settings settings(file());
    settings.LoadSettings();
    EXPECT_EQ(settings.languageIndex(), 0);
    EXPECT_EQ(settings.languageFileName(), "lan_cn.ini");
    EXPECT_FALSE(settings.dpiPopupEnabled());
    EXPECT_TRUE(settings.publicLed().empty());
    // Choosing the active language (0) writes nothing, not even a new file.
    EXPECT_EQ(settings.SelectLanguage("lan_cn"), std::nullopt);
    EXPECT_FALSE(fs::exists(file()));
}

TEST_F(SettingsTest, LoadsLanguageDpiPopupAndPublicLedEntries) {
    const Settings settings =
        load("[set]\nlanguage=4\nDPIPOPEN=1\n[PublicLed]\nLedMode=3\nSpeed = 2\nbad=x\nnoequals\n");
    EXPECT_EQ(settings.languageIndex(), 4);
    EXPECT_EQ(settings.languageFileName(), "lan_de.ini");
    EXPECT_TRUE(settings.dpiPopupEnabled());
    EXPECT_EQ(settings.publicLed(),
              (std::map<std::string, int>{{"LedMode", 3}, {"Speed", 2}, {"bad", 0}}));
}

TEST_F(SettingsTest, LanguageOutsideTheTableShowsEnglishAndWritesNothingUntilChosen) {
    const std::string text = "[Set]\nLanguage=99\nDpiPopEn=0\n";
    Settings settings = load(text);
    EXPECT_EQ(settings.languageIndex(), 99);
    EXPECT_EQ(settings.languageFileName(), "lan_en.ini");
    EXPECT_EQ(test::readTextFile(file()), text);

    EXPECT_EQ(settings.SelectLanguage("LAN_EN"), 1); // a real choice differs from 99
    EXPECT_EQ(test::readTextFile(file()), "[Set]\nLanguage=1\nDpiPopEn=0\n");
}

TEST_F(SettingsTest, ChoosingALanguageWritesOnlyWhenItChanges) {
    const std::string text = "; mine\n[Set]\nLanguage=2\nDpiPopEn=1\n\n[PublicLed]\nLedMode=3\n";
    Settings settings = load(text);
    EXPECT_EQ(settings.SelectLanguage("lan_fr"), std::nullopt); // already active
    EXPECT_EQ(settings.SelectLanguage("lan_xx"), std::nullopt); // not in the table
    EXPECT_EQ(test::readTextFile(file()), text);

    EXPECT_EQ(settings.SelectLanguage("lan_sl"), 22);
    EXPECT_EQ(settings.languageIndex(), 22);
    EXPECT_EQ(test::readTextFile(file()),
              "; mine\n[Set]\nLanguage=22\nDpiPopEn=1\n\n[PublicLed]\nLedMode=3\n");
}

TEST_F(SettingsTest, UpdateCheckIsOnUnlessTurnedOffAndTheSwitchIsStored) {
    EXPECT_TRUE(load("[Set]\nLanguage=1\n").updateCheckEnabled());
    EXPECT_FALSE(load("[Set]\nUpdateCheck=0\n").updateCheckEnabled());
    Settings settings = load("[Set]\nLanguage=1\n");
    EXPECT_FALSE(settings.ToggleUpdateCheck());
    EXPECT_EQ(test::readTextFile(file()), "[Set]\nLanguage=1\nUpdateCheck=0\n");
    Settings reread(file());
    reread.LoadSettings();
    EXPECT_FALSE(reread.updateCheckEnabled());
    EXPECT_TRUE(reread.ToggleUpdateCheck());
    EXPECT_EQ(test::readTextFile(file()), "[Set]\nLanguage=1\nUpdateCheck=1\n");
}

TEST_F(SettingsTest, TogglingTheDpiPopupWritesTheFlag) {
    Settings settings = load("[Set]\nLanguage=1\n");
    EXPECT_TRUE(settings.ToggleDpiPopup());
    EXPECT_EQ(test::readTextFile(file()), "[Set]\nLanguage=1\nDpiPopEn=1\n");
    EXPECT_FALSE(settings.ToggleDpiPopup());
    EXPECT_EQ(test::readTextFile(file()), "[Set]\nLanguage=1\nDpiPopEn=0\n");

    EXPECT_TRUE(settings.SetPublicLedValue("LedMode", 5));
    EXPECT_EQ(settings.publicLed().at("LedMode"), 5);
    Settings reread(file());
    reread.LoadSettings();
    EXPECT_EQ(reread.publicLed().at("LedMode"), 5);
    EXPECT_FALSE(reread.dpiPopupEnabled());
}

TEST_F(SettingsTest, AFailedWriteIsReportedAndKeepsTheChoice) {
    Settings settings(dir / "missing-folder" / "Set.ini");
    settings.LoadSettings();
    test::DiagnosticCapture capture;
    EXPECT_EQ(settings.SelectLanguage("lan_en"), 1);
    EXPECT_EQ(settings.languageIndex(), 1);
    EXPECT_FALSE(settings.lastWrite());
    EXPECT_FALSE(settings.lastWrite().detail.empty());
    EXPECT_NE(capture.debug().find("cannot save"), std::string::npos);
}

TEST(LanguageTableTest, TwentyThreeLanguagesWithEnglishForAnythingElse) {
    const auto& entries = LanguageTable::entries();
    ASSERT_EQ(entries.size(), 23u);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].index, static_cast<int>(i));
        EXPECT_EQ(std::string(entries[i].menuItem) + ".ini", entries[i].file);
        EXPECT_EQ(LanguageTable::indexForMenuItem(entries[i].menuItem), static_cast<int>(i));
    }
    EXPECT_EQ(entries[18].menuItem, "lan_pobr");
    EXPECT_EQ(LanguageTable::indexForMenuItem("Lan_CNTW"), 19);
    EXPECT_EQ(LanguageTable::indexForMenuItem("lan_"), std::nullopt);
    EXPECT_EQ(LanguageTable::indexForMenuItem(""), std::nullopt);
    for (int index : {-1, 23, 99, INT_MIN, INT_MAX})
        EXPECT_EQ(LanguageTable::fileName(index), "lan_en.ini") << index;
    EXPECT_EQ(LanguageTable::fileName(0), "lan_cn.ini");
}

} // namespace
} // namespace varnix
