// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/JsonRead.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

using nlohmann::json;

TEST(JsonReadTest, DepthCountsArraysAndObjectsButNotStrings) {
    EXPECT_EQ(jsonNestingDepth("1"), 0);
    EXPECT_EQ(jsonNestingDepth(R"({"a":[1,{"b":[]}]})"), 4);
    EXPECT_EQ(jsonNestingDepth(R"({"a":"[[[[\"[[[["})"), 1);
}

TEST(JsonReadTest, DeepDocumentsAreRefusedAsUnreadable) {
    const std::string fits = std::string(MaxJsonDepth, '[') + std::string(MaxJsonDepth, ']');
    EXPECT_NO_THROW(parseJson(fits));
    // A deep value under a key nobody reads: the whole file is refused before it is parsed.
    const std::string deep =
        R"({"Groups":[],"x":)" + std::string(100000, '[') + std::string(100000, ']') + "}";
    EXPECT_THROW(parseJson(deep), json::parse_error);
    EXPECT_THROW(parseJson<nlohmann::ordered_json>(deep), nlohmann::ordered_json::parse_error);
    EXPECT_THROW(parseJson("{"), json::parse_error); // still the library's own errors
}

TEST(JsonReadTest, NumbersThatFitConvertTheRestAreTypeErrors) {
    const std::pair<const char*, std::int32_t> fit[] = {
        {"7", 7},
        {"-7", -7},
        {"2147483647", 2147483647},
        {"4294967295", -1},
        {"-2147483648", INT32_MIN},
        {"3.9", 3},
        {"-3.9", -3},
        {"true", 1},
        {"2147483647.5", 2147483647},
    };
    for (const auto& [text, value] : fit)
        EXPECT_EQ(jsonNumber<std::int32_t>(json::parse(text)), value) << text;
    EXPECT_EQ(jsonNumber<std::uint32_t>(json::parse("-1")), 0xFFFFFFFFu);
    EXPECT_EQ(jsonNumber<std::uint32_t>(json::parse("4294967295.0")), 0xFFFFFFFFu);
    const char* refused[] = {"1e30",          "-1e30",       "18446744073709551616",
                             "4294967296",    "-2147483649", "2147483648.0",
                             "-2147483649.0", "\"1\"",       "null"};
    for (const char* text : refused)
        EXPECT_THROW(jsonNumber<std::int32_t>(json::parse(text)), json::type_error) << text;
    EXPECT_THROW(jsonNumber<std::uint32_t>(json::parse("4294967296.0")), json::type_error);
    EXPECT_THROW(jsonNumber<std::uint32_t>(json::parse("-1.5e10")), json::type_error);
}

} // namespace
} // namespace varnix
