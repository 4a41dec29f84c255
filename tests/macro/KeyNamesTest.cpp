// SPDX-License-Identifier: GPL-3.0-or-later
// Key names under xkb layouts and under a scripted layout; the active-layout seam.
#include "macro/KeyNames.h"

#include "macro/KeyboardLayout.h"
#include "macro/XkbKeyboardLayout.h"
#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <optional>

namespace varnix {
namespace {

using test::ScopedEnvironment;

// A layout that gives exactly the characters it is told to.
class ScriptedLayout final : public KeyboardLayout {
public:
    explicit ScriptedLayout(std::map<int, std::string> characters)
        : characters_(std::move(characters)) {}
    std::string upperCharacter(int scanCode) const override {
        auto it = characters_.find(scanCode);
        return it == characters_.end() ? std::string() : it->second;
    }
    std::string name() const override { return "scripted"; }

private:
    std::map<int, std::string> characters_;
};

std::unique_ptr<XkbKeyboardLayout> layoutNamed(const std::string& name,
                                               const std::string& variant = {}) {
    auto layout = XkbKeyboardLayout::fromNames(name, variant);
    EXPECT_TRUE(layout) << layout.outcome().detail;
    return layout ? std::move(*layout) : nullptr;
}

TEST(KeyNamesTest, CharacterKeysFollowTheLayout) {
    auto us = layoutNamed("us");
    auto de = layoutNamed("de");
    auto fr = layoutNamed("fr");
    ASSERT_TRUE(us && de && fr);
    struct Row {
        int scanCode;
        const char* us;
        const char* de;
        const char* fr;
    };
    const Row rows[] = {
        {0x15, "Y", "Z", "Y"},      {0x2C, "Z", "Y", "W"},
        {0x10, "Q", "Q", "A"},      {0x1E, "A", "A", "Q"},
        {0x02, "1", "1", "&"},      {0x03, "2", "2", "\u00C9"}, // é upper-cased
        {0x1A, "[", "\u00DC", "^"}, // ü upper-cased; French dead circumflex
        {0x0C, "-", "\u00DF", ")"}, // ß has no single upper-case letter
        {0x0D, "=", "\u00B4", "="}, // German dead acute
        {0x29, "`", "^", "\u00B2"}, // German dead circumflex
        {0x35, "/", "-", "!"},      {0xE035, "/", "/", "/"}, // keypad / gives its character
    };
    for (const Row& row : rows) {
        EXPECT_EQ(KeyNameForScanCode(row.scanCode, *us), row.us) << std::hex << row.scanCode;
        EXPECT_EQ(KeyNameForScanCode(row.scanCode, *de), row.de) << std::hex << row.scanCode;
        EXPECT_EQ(KeyNameForScanCode(row.scanCode, *fr), row.fr) << std::hex << row.scanCode;
    }
}

TEST(KeyNamesTest, KeysWithoutACharacterHaveFixedNamesUnderEveryLayout) {
    struct Row {
        int scanCode;
        const char* name;
    };
    const Row rows[] = {
        {0x01, "Escape"},
        {0x0E, "BackSpace"},
        {0x0F, "Tab"},
        {0x1C, "Enter"},
        {0x1D, "L-Ctrl"},
        {0x2A, "L-Shift"},
        {0x37, "Num *"},
        {0x38, "L-Alt"},
        {0x39, "Space"},
        {0x3A, "Caps Lock"},
        {0x3B, "F1"},
        {0x44, "F10"},
        {0x45, "Pause"},
        {0x46, "Scroll Lock"},
        {0x47, "Num 7"},
        {0x4A, "Num -"},
        {0x4C, "Num 5"},
        {0x4E, "Num +"},
        {0x52, "Num 0"},
        {0x53, "Num ."},
        {0x57, "F11"},
        {0x58, "F12"},
        {240, "Left Click"},
        {241, "Right Click"},
        {242, "Middle Click"},
        {0xE01C, "Num Enter"},
        {0xE01D, "R-Ctrl"},
        {0xE036, "R-Shift"},
        {0xE037, "Print Screen"},
        {0xE038, "R-Alt"},
        {0xE045, "Num Lock"},
        {0xE047, "Home"},
        {0xE049, "Page Up"},
        {0xE048, "\u2191"},
        {0xE050, "\u2193"},
        {0xE04B, "\u2190"},
        {0xE04D, "\u2192"},
        {0xE04F, "End"},
        {0xE051, "Page Down"},
        {0xE052, "Insert"},
        {0xE053, "Delete"},
        {0xE05B, "L-Win"},
        {0xE05C, "R-Win"},
        {0xE05D, "App"},
        // Nothing names these.
        {0x00, "Unknown Key"},
        {0x36, "Unknown Key"},
        {0xFF, "Unknown Key"},
        {0xB8, "Unknown Key"},
        {0xE020, "Unknown Key"},
        {0xE0FF, "Unknown Key"},
        {-1, "Unknown Key"},
    };
    for (const char* name : {"us", "de", "fr"}) {
        auto layout = layoutNamed(name);
        ASSERT_TRUE(layout);
        for (const Row& row : rows)
            EXPECT_EQ(KeyNameForScanCode(row.scanCode, *layout), row.name)
                << name << std::hex << " 0x" << row.scanCode;
    }
}

TEST(KeyNamesTest, FixedNamesWinOnlyForTheListedKeys) {
    std::map<int, std::string> everything;
    for (int scan : {0x01, 0x0E, 0x0F, 0x1C, 0x37, 0x39, 0x46, 0x4A, 0x4E, 0xE037, 0x35, 0x47,
                     0xE035, 0x53, 0x1D})
        everything[scan] = "#";
    const ScriptedLayout layout(everything);
    for (int scan : {0x01, 0x0E, 0x0F, 0x1C, 0x37, 0x39, 0x46, 0x4A, 0x4E, 0xE037})
        EXPECT_EQ(KeyNameForScanCode(scan, layout), *fixedKeyName(scan)) << std::hex << scan;
    for (int scan : {0x35, 0x47, 0xE035, 0x53, 0x1D})
        EXPECT_EQ(KeyNameForScanCode(scan, layout), "#") << std::hex << scan;

    const ScriptedLayout empty({});
    EXPECT_EQ(KeyNameForScanCode(0x35, empty), "/");
    EXPECT_EQ(KeyNameForScanCode(0xE035, empty), "Num /");
    EXPECT_EQ(KeyNameForScanCode(0x7E, empty), "Num .");
    EXPECT_EQ(KeyNameForScanCode(0x15, empty), "Unknown Key");
}

TEST(KeyNamesTest, ActiveLayoutCanBeReplaced) {
    setActiveKeyboardLayout(layoutNamed("de"));
    EXPECT_EQ(KeyNameForScanCode(0x15), "Z");
    setActiveKeyboardLayout(layoutNamed("us"));
    EXPECT_EQ(KeyNameForScanCode(0x15), "Y");
    setActiveKeyboardLayout(nullptr);
    EXPECT_NE(activeKeyboardLayout(), nullptr);
}

TEST(XkbKeyboardLayoutTest, UnknownLayoutIsAnErrorNotACrash) {
    const auto unknown = XkbKeyboardLayout::fromNames("no-such-layout");
    EXPECT_FALSE(unknown);
    EXPECT_EQ(unknown.outcome().status, Status::Invalid);
    EXPECT_NE(unknown.outcome().detail.find("no-such-layout"), std::string::npos);
    EXPECT_FALSE(XkbKeyboardLayout::fromNames(""));
    EXPECT_FALSE(XkbKeyboardLayout::fromNames("us", "no-such-variant"));
}

TEST(XkbKeyboardLayoutTest, VariantIsHonoured) {
    auto plain = layoutNamed("de");
    auto noDeadKeys = layoutNamed("de", "nodeadkeys");
    ASSERT_TRUE(plain && noDeadKeys);
    EXPECT_EQ(plain->upperCharacter(0x0D), "\u00B4"); // dead acute shows its accent
    EXPECT_EQ(noDeadKeys->upperCharacter(0x0D), "\u00B4");
    EXPECT_EQ(noDeadKeys->upperCharacter(0x15), "Z");
}

TEST(XkbKeyboardLayoutTest, EnvironmentNamesTheLayoutWithoutADisplay) {
    ScopedEnvironment noDisplay("DISPLAY", nullptr);
    {
        ScopedEnvironment layout("XKB_DEFAULT_LAYOUT", "de");
        ScopedEnvironment variant("XKB_DEFAULT_VARIANT", nullptr);
        EXPECT_EQ(XkbKeyboardLayout::fromSystem()->upperCharacter(0x15), "Z");
        EXPECT_FALSE(XkbKeyboardLayout::fromX11Server());
    }
    {
        ScopedEnvironment layout("XKB_DEFAULT_LAYOUT", "no-such-layout");
        EXPECT_EQ(XkbKeyboardLayout::fromEnvironment()->upperCharacter(0x15), "Y");
    }
    {
        ScopedEnvironment layout("XKB_DEFAULT_LAYOUT", nullptr);
        auto fallback = XkbKeyboardLayout::fromEnvironment();
        ASSERT_TRUE(fallback);
        EXPECT_EQ(fallback->name(), "us");
        EXPECT_EQ(fallback->upperCharacter(0x15), "Y");
    }
}

TEST(XkbKeyboardLayoutTest, UnreachableDisplayFallsBack) {
    ScopedEnvironment display("DISPLAY", ":4711");
    ScopedEnvironment layout("XKB_DEFAULT_LAYOUT", "fr");
    const auto server = XkbKeyboardLayout::fromX11Server();
    EXPECT_FALSE(server);
    EXPECT_FALSE(server.outcome().detail.empty());
    EXPECT_EQ(XkbKeyboardLayout::fromSystem()->upperCharacter(0x10), "A");
}

// Runs only with an X server (e.g. under xvfb-run): the server's keymap names keys too.
TEST(XkbKeyboardLayoutTest, ReadsTheRunningXServer) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no X display";
    const auto server = XkbKeyboardLayout::fromX11Server();
    ASSERT_TRUE(server) << server.outcome().detail;
    const XkbKeyboardLayout& layout = **server;
    EXPECT_EQ(KeyNameForScanCode(0x0F, layout), "Tab");
    const std::string y = KeyNameForScanCode(0x15, layout);
    EXPECT_FALSE(y.empty());
    EXPECT_NE(y, "Unknown Key");
    if (const char* expected = std::getenv("VARNIX_EXPECT_X11_KEY_15")) {
        EXPECT_EQ(y, expected);
    }
}

} // namespace
} // namespace varnix
