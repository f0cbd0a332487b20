#include "kavo_services/utf8.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using kavo_services::is_valid_utf8;
using kavo_services::lossy_utf8;

struct Case {
    const char* name;
    std::string input;
    std::string expected;
};

TEST(LossyUtf8, ReplacesEachInvalidSequenceWithOneReplacementCharacter)
{
    const std::string r = "\xEF\xBF\xBD";
    const Case cases[] = {
        {"ascii passes through", "plain.txt", "plain.txt"},
        {"valid multi-byte passes through", "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"empty", "", ""},
        {"lone continuation byte", "a\x80" "b", "a" + r + "b"},
        {"two continuation bytes", "\x80\xBF", r + r},
        {"Latin-1 byte", "caf\xE9", "caf" + r},
        {"overlong two-byte lead C0", "\xC0\xAF", r + r},
        {"overlong two-byte lead C1", "\xC1\x81", r + r},
        {"truncated two-byte at end", "x\xC3", "x" + r},
        {"truncated three-byte at end", "x\xE2\x82", "x" + r},
        {"truncated four-byte at end", "x\xF0\x9F\x98", "x" + r},
        {"truncated sequence before ascii", "\xE2\x82" "a", r + "a"},
        {"truncated sequence before a valid one", "\xE2\xC3\xA4", r + "\xC3\xA4"},
        {"lead bytes above F4", "\xF5\xFF\xFE", r + r + r},
        {"embedded NUL stays", std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = lossy_utf8(std::string_view(c.input));
        EXPECT_EQ(text, c.expected);
        EXPECT_TRUE(is_valid_utf8(text));
        EXPECT_EQ(is_valid_utf8(c.input), c.input == c.expected);
    }
}

TEST(LossyUtf8, RejectsOverlongSurrogateAndOutOfRangeForms)
{
    const char* invalid[] = {
        "\xE0\x80\xAF",      // overlong three-byte "/"
        "\xF0\x80\x80\xAF",  // overlong four-byte "/"
        "\xED\xA0\x80",      // UTF-16 surrogate U+D800
        "\xED\xBF\xBF",      // UTF-16 surrogate U+DFFF
        "\xF4\x90\x80\x80",  // above U+10FFFF
    };
    for (const char* bytes : invalid) {
        SCOPED_TRACE(::testing::PrintToString(std::string(bytes)));
        EXPECT_FALSE(is_valid_utf8(bytes));
        std::string text = lossy_utf8(std::string_view(bytes));
        EXPECT_TRUE(is_valid_utf8(text));
        EXPECT_NE(text.find("\xEF\xBF\xBD"), std::string::npos);
    }
}

}
