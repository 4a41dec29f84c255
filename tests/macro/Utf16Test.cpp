// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Utf16.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

TEST(Utf16Test, ConvertsEveryPlaneBothWays) {
    const std::string text = "A\u00e4\u20ac\u540d\U0001F600\U00010348";
    const std::u16string units = utf8ToUtf16(text);
    EXPECT_EQ(units,
              (std::u16string{u'A', 0x00E4, 0x20AC, 0x540D, 0xD83D, 0xDE00, 0xD800, 0xDF48}));
    EXPECT_EQ(utf16ToUtf8(units), text);
}

TEST(Utf16Test, LoneSurrogatesSurviveARoundTrip) {
    const std::u16string cases[] = {
        {0xD83D},             // high surrogate at the end
        {0xDE00, u'x'},       // low surrogate first
        {u'a', 0xD83D, u'b'}, // high surrogate followed by a plain unit
        {0xDE00, 0xD83D},     // pair in the wrong order
    };
    for (const std::u16string& units : cases)
        EXPECT_EQ(utf8ToUtf16(utf16ToUtf8(units)), units);
}

TEST(Utf16Test, InvalidUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(utf8ToUtf16("a\xff"
                          "b"),
              (std::u16string{u'a', 0xFFFD, u'b'}));
    EXPECT_EQ(utf8ToUtf16("\xe2\x82"), (std::u16string{0xFFFD, 0xFFFD})); // cut sequence
    EXPECT_EQ(utf8ToUtf16("\xc0\xaf"), (std::u16string{0xFFFD, 0xFFFD})); // overlong "/"
    EXPECT_EQ(utf8ToUtf16(""), u"");
}

} // namespace
} // namespace varnix
