// SPDX-License-Identifier: GPL-3.0-or-later
// INI reading and writing with the rules of the profile-string calls.
#include "common/IniFile.h"

#include "common/ResourceRoot.h"
#include "tests/support/TestSupport.h"

#include <climits>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace varnix {
namespace {

using namespace std::string_literals;

TEST(IniFileTest, MatchesSectionsAndKeysIgnoringCaseAndSplitsAtTheFirstEquals) {
    const IniFile ini = IniFile::fromText("; comment=1\n"
                                          "orphan=before any section\n"
                                          "[Config1]\n"
                                          "  EEP_CAP = 3  \n"
                                          "Formula=a=b=c\n"
                                          "Quoted=\"  spaced  \"\n"
                                          "Single='x'\n"
                                          "Half=\"open\n"
                                          "Bare line\n"
                                          "Empty=\n"
                                          "eep_cap=9\n"
                                          "[init]\n"
                                          "RGBLED=GRB\n");
    EXPECT_EQ(ini.getString("config1", "eep_cap"), "3"); // first of a repeated key
    EXPECT_EQ(ini.getString("CONFIG1", "Formula"), "a=b=c");
    EXPECT_EQ(ini.getString("Config1", "Quoted"), "  spaced  ");
    EXPECT_EQ(ini.getString("Config1", "Single"), "x");
    EXPECT_EQ(ini.getString("Config1", "Half"), "\"open");
    EXPECT_EQ(ini.getString("Config1", "Bare line", "dflt"), "");
    EXPECT_TRUE(ini.hasKey("Config1", "Empty"));
    EXPECT_EQ(ini.getString("Config1", "Empty", "dflt"), "");
    EXPECT_EQ(ini.getString("INIT", "rgbled"), "GRB");
    EXPECT_EQ(ini.getString("Init", "Missing", "RGB"), "RGB");
    EXPECT_EQ(ini.getString("Nowhere", "RGBLED", "RGB"), "RGB");
    EXPECT_EQ(ini.getString("Config1", "comment", "none"), "none");
    EXPECT_EQ(ini.getString("", "orphan", "none"), "none");
    EXPECT_EQ(ini.sections(), (std::vector<std::string>{"Config1", "init"}));
    EXPECT_EQ(ini.keys("config1"),
              (std::vector<std::string>{"EEP_CAP", "Formula", "Quoted", "Single", "Half",
                                        "Bare line", "Empty"}));
    EXPECT_EQ(ini.sectionLines("Init"), (std::vector<std::string>{"RGBLED=GRB"}));
    EXPECT_EQ(ini.sectionLines("Config1")[5], "Bare line");
}

TEST(IniFileTest, ReadBuffersCutTheTextLikeAFixedBuffer) {
    const IniFile ini = IniFile::fromText("[S]\nRGBLED=RGBRGBRGB\nEEP_CAP=1000\n"
                                          "BrightMax=123456789012345\nWide=äöüß\n");
    struct Case {
        const char* key;
        std::size_t buffer;
        std::string expected;
    };
    const Case cases[] = {
        {"RGBLED", 7, "RGBRGB"},
        {"EEP_CAP", 4, "100"},
        {"BrightMax", 12, "12345678901"},
        {"RGBLED", 1, ""},
        {"RGBLED", 0, ""},
        {"Wide", 3, "äö"}, // characters, not bytes
        {"RGBLED", IniFile::Unlimited, "RGBRGBRGB"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.getString("S", c.key, {}, c.buffer), c.expected) << c.key << " " << c.buffer;
    EXPECT_EQ(ini.getString("S", "Absent", "LONGDEFAULT", 5), "LONG");
    EXPECT_EQ(ini.getInt("S", "EEP_CAP", -1, 4), 100);
}

TEST(IniFileTest, ConvertsIntegersLikeTheCLibrary) {
    const IniFile ini = IniFile::fromText("[S]\nA= 42abc\nB=abc\nC=\nD=-7\nE=99999999999\n"
                                          "F=-99999999999\nG=+5\n");
    EXPECT_EQ(ini.getInt("S", "A", 1), 42);
    EXPECT_EQ(ini.getInt("S", "B", 1), 0);
    EXPECT_EQ(ini.getInt("S", "C", 12), 12); // empty text gives the default
    EXPECT_EQ(ini.getInt("S", "Absent", 12), 12);
    EXPECT_EQ(ini.getInt("S", "D"), -7);
    EXPECT_EQ(ini.getInt("S", "E"), INT_MAX);
    EXPECT_EQ(ini.getInt("S", "F"), INT_MIN);
    EXPECT_EQ(ini.getInt("S", "G"), 5);
}

TEST(IniFileTest, HostileFilesNeverCrashAndGiveDefaults) {
    const std::string overlong(1 << 20, 'x');
    const std::string cases[] = {
        "",
        "no sections at all\nKEY=1\n",
        "[S\nKEY=1\n",             // unclosed header still names a section
        "[S]\n" + overlong + "\n", // an overlong line
        "[S]\n" + overlong + "=" + overlong + "\n",
        "[S]\nKEY\0=5\n"s,              // NUL inside the key
        "\0\0\0[S]\0KEY=5\n"s,          // NULs before anything
        std::string("\xFF\xFE\x00", 3), // truncated UTF-16
        "[]\n=\n==\n[\n]\n;\n",
        std::string(4096, '\0'),
    };
    for (const std::string& text : cases) {
        const IniFile ini = IniFile::fromText(text);
        EXPECT_EQ(ini.getInt("S", "KEY", 77) == 1 || ini.getInt("S", "KEY", 77) == 77, true);
        EXPECT_EQ(ini.getString("Other", "KEY", "dflt", 7), "dflt");
        (void)ini.sections();
        (void)ini.sectionLines("S");
    }
    // A NUL ends the visible text of its line.
    EXPECT_EQ(IniFile::fromText("[S]\nKEY=12\0junk\n"s).getString("S", "KEY"), "12");
    EXPECT_EQ(IniFile::fromText("[S]\nKEY\0=5\n"s).getString("S", "KEY", "d"), "");
    EXPECT_EQ(IniFile::fromText("[S\nKEY=1\n").getInt("S", "KEY"), 1);
}

TEST(IniFileTest, ReadsFilesWithByteOrderMarksAndCrLf) {
    test::TempDir dir;
    test::writeTextFile(dir / "bom.ini", "\xEF\xBB\xBF[Set]\r\nLanguage=4\r\n");
    EXPECT_EQ(IniFile(dir / "bom.ini").getInt("Set", "Language"), 4);

    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[Set]\r\nName=\xE9\r\n")) // é as one UTF-16 unit
        utf16 += {c, '\0'};
    test::writeTextFile(dir / "utf16.ini", utf16);
    EXPECT_EQ(IniFile(dir / "utf16.ini").getString("set", "name"), "\xC3\xA9");

    const IniFile missing(dir / "absent.ini");
    EXPECT_FALSE(missing.wasRead());
    EXPECT_EQ(missing.getInt("Set", "Language", 3), 3);
}

TEST(IniFileTest, WritingAKeyKeepsEveryOtherLine) {
    test::TempDir dir;
    const fs::path file = dir / "Set.ini";
    const std::string original = "\xEF\xBB\xBF; user settings\r\n"
                                 "[Set]\r\n"
                                 "Language=0\r\n"
                                 "  Odd  spacing = kept \r\n"
                                 "\r\n"
                                 "[PublicLed]\r\n"
                                 "Mode=3\r\n"
                                 "\r\n"
                                 "[Tail]\r\n";
    test::writeTextFile(file, original);
    IniFile ini(file);

    ASSERT_TRUE(ini.setString("SET", "language", "7"));
    std::string expected = original;
    expected.replace(expected.find("Language=0"), 10, "Language=7");
    EXPECT_EQ(test::readTextFile(file), expected);

    ASSERT_TRUE(ini.setInt("Set", "DpiPopEn", 1)); // added after the section's last entry
    expected.insert(expected.find("\r\n\r\n[PublicLed]") + 2, "DpiPopEn=1\r\n");
    EXPECT_EQ(test::readTextFile(file), expected);

    ASSERT_TRUE(ini.setString("Tail", "K", "v")); // empty section: right after its header
    ASSERT_TRUE(ini.setString("New", "A", "b"));  // new section at the end
    expected += "K=v\r\n\r\n[New]\r\nA=b\r\n";
    EXPECT_EQ(test::readTextFile(file), expected);
    EXPECT_EQ(IniFile(file).getInt("set", "LANGUAGE"), 7);
    EXPECT_EQ(ini.getString("New", "A"), "b");

    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(IniFileTest, WritingReadsTheFileAgainAndCreatesMissingFiles) {
    test::TempDir dir;
    const fs::path file = dir / "Set.ini";
    IniFile ini(file);
    test::writeTextFile(file, "[Set]\nLanguage=2\n"); // changed behind the object's back
    ASSERT_TRUE(ini.setString("Set", "DpiPopEn", "1"));
    EXPECT_EQ(test::readTextFile(file), "[Set]\nLanguage=2\nDpiPopEn=1\n");

    const fs::path fresh = dir / "fresh.ini";
    ASSERT_TRUE(IniFile(fresh).setInt("Set", "Language", 1));
    EXPECT_EQ(test::readTextFile(fresh), "[Set]\nLanguage=1\n");
}

TEST(IniFileTest, RefusesWritesThatCannotBeStoredAndReportsFailures) {
    test::TempDir dir;
    IniFile ini(dir / "x.ini");
    for (const auto& [section, key, value] :
         std::vector<std::tuple<std::string, std::string, std::string>>{{"S", "K", "two\nlines"},
                                                                        {"S", "K=", "v"},
                                                                        {"S]", "K", "v"},
                                                                        {"", "K", "v"},
                                                                        {"S", "", "v"},
                                                                        {"S", "[K", "v"},
                                                                        {"S", "K", "nul\0"s}}) {
        const Outcome written = ini.setString(section, key, value);
        EXPECT_FALSE(written) << key;
        EXPECT_EQ(written.status, Status::Invalid) << key;
        EXPECT_FALSE(written.detail.empty());
    }
    EXPECT_FALSE(fs::exists(dir / "x.ini"));

    const Outcome unwritable = IniFile(dir / "no/such/folder/x.ini").setInt("S", "K", 1);
    EXPECT_FALSE(unwritable);
    EXPECT_EQ(unwritable.status, Status::WriteFailed);
    EXPECT_FALSE(unwritable.detail.empty());
    IniFile memory = IniFile::fromText("[S]\n");
    EXPECT_FALSE(memory.setInt("S", "K", 1));
}

TEST(ResourcePathTest, DescribedNamesResolveUnderTheRoot) {
    const fs::path root = "/data/res";
    EXPECT_EQ(resolveResourcePath(root, "./res/Set.ini"), "/data/res/Set.ini");
    EXPECT_EQ(resolveResourcePath(root, "res\\Set.ini"), "/data/res/Set.ini");
    EXPECT_EQ(resolveResourcePath(root, ".\\res\\Home\\Home.json"), "/data/res/Home/Home.json");
    EXPECT_EQ(resolveResourcePath(root, "res/Language/lan_en.ini"),
              "/data/res/Language/lan_en.ini");
    EXPECT_EQ(resolveResourcePath(root, "MacroKorv/png/1.png"), "/data/res/MacroKorv/png/1.png");
    EXPECT_EQ(resolveResourcePath(root, "./res/"), root);
    EXPECT_EQ(resolveResourcePath(root, "/abs/file.ini"), "/abs/file.ini");
    EXPECT_EQ(resolveResourcePath(root, "resources/x"), "/data/res/resources/x");
}

} // namespace
} // namespace varnix
