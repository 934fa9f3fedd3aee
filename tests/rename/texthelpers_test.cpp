#include "rename/texthelpers.h"

#include "support/rowname.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

enum class Fn { Left, Right, Mid };

struct CutCase {
    Fn fn;
    std::string s;
    int a;
    int b; // count, for Mid only
    std::string expected;
};

std::string Cut(const CutCase& c)
{
    switch (c.fn) {
    case Fn::Left: return CharLeft(c.s, c.a);
    case Fn::Right: return CharRight(c.s, c.a);
    case Fn::Mid: return CharMid(c.s, c.a, c.b);
    }
    return {};
}

std::string CutLabel(const CutCase& c)
{
    const char* fn = c.fn == Fn::Left ? "Left" : c.fn == Fn::Right ? "Right" : "Mid";
    return std::string(fn) + " " + c.s + " " + std::to_string(c.a) +
           (c.fn == Fn::Mid ? " " + std::to_string(c.b) : std::string());
}

class CutRows : public testing::TestWithParam<CutCase> {};

TEST_P(CutRows, CutsAndClampsCharacters)
{
    const CutCase& c = GetParam();
    EXPECT_EQ(Cut(c), c.expected) << CutLabel(c);
}

const std::vector<CutCase> kCutRows = {
    {Fn::Mid, "abc", 2, 5, "bc"},
    {Fn::Mid, "abc", 5, 2, "c"},  // a start past the end gives the last character
    {Fn::Mid, "abc", 4, 1, "c"},
    {Fn::Mid, "abc", 0, 2, ""},
    {Fn::Mid, "abc", -3, 10, ""},
    {Fn::Mid, "abc", 2, 0, ""},
    {Fn::Mid, "abc", 2, -4, ""},
    {Fn::Mid, "abc", 1, 1, "a"},
    {Fn::Mid, "abc", 1, 3, "abc"},
    {Fn::Mid, "", 1, 1, ""},
    {Fn::Mid, "", 5, 5, ""},
    {Fn::Mid, "abc", INT_MAX, INT_MAX, "c"},
    {Fn::Mid, "abc", 2, INT_MAX, "bc"},
    {Fn::Mid, "abc", INT_MIN, INT_MIN, ""},
    {Fn::Mid, "写真01", 2, 2, "真0"},
    {Fn::Mid, "写真01", 9, 1, "1"},
    {Fn::Mid, "写真", 9, 1, "真"},
    {Fn::Right, "abc", 5, 0, "abc"},
    {Fn::Right, "abc", 0, 0, ""},
    {Fn::Right, "abc", -2, 0, ""},
    {Fn::Right, "abc", 1, 0, "c"},
    {Fn::Right, "abc", INT_MAX, 0, "abc"},
    {Fn::Right, "abc", INT_MIN, 0, ""},
    {Fn::Right, "写真01", 3, 0, "真01"},
    {Fn::Right, "", 3, 0, ""},
    {Fn::Left, "abc", 5, 0, "abc"},
    {Fn::Left, "abc", -1, 0, ""},
    {Fn::Left, "abc", 0, 0, ""},
    {Fn::Left, "abc", 2, 0, "ab"},
    {Fn::Left, "abc", INT_MIN, 0, ""},
    {Fn::Left, "写真01", 1, 0, "写"},
    {Fn::Left, "写真01", 3, 0, "写真0"},
    {Fn::Left, "🎞x", 1, 0, "🎞"},
};

INSTANTIATE_TEST_SUITE_P(TextHelpers, CutRows, testing::ValuesIn(kCutRows),
                         RowNames(CutLabel));

using LengthCase = std::pair<std::string, int>;

class CharLengthRows : public testing::TestWithParam<LengthCase> {};

TEST_P(CharLengthRows, CountsCodePointsAndLoneBadBytes)
{
    const auto& [s, n] = GetParam();
    EXPECT_EQ(CharLength(s), n) << "'" << s << "'";
}

const std::vector<LengthCase> kCharLengthRows = {
    {"", 0},
    {"abc", 3},
    {"写真01", 4},
    {"ｶﾒﾗ", 3},            // half-width katakana: three bytes each in UTF-8
    {"a🎞b", 3},           // four-byte character
    {std::string("a\0b", 3), 3},
    {"\x80", 1},           // stray continuation byte
    {"\xff\xfe", 2},       // bytes that never start a sequence
    {"\xc0\xaf", 2},       // overlong "/"
    {"\xe0\x80\xaf", 3},   // overlong three-byte form
    {"\xed\xa0\x80", 3},   // surrogate
    {"\xf4\x90\x80\x80", 4}, // beyond U+10FFFF
    {"\xe5\x86", 2},       // truncated "写"
    {"\xe5\x86" "a", 3},   // truncated, then ASCII
    {"\xc3" "\xa9\xa9", 2}, // "é" followed by a stray continuation byte
};

INSTANTIATE_TEST_SUITE_P(TextHelpers, CharLengthRows, testing::ValuesIn(kCharLengthRows),
                         RowNames([](const LengthCase& c) { return c.first; }));

// Every cut of a text with bad bytes and multi-byte characters must land on character
// boundaries, and the pieces must add up to the text again.
TEST(TextHelpers, NeverCutsACharacterInTwo)
{
    const std::string s = "写\xe5\x86" "5\xff" "真\\🎞\x80" "0";
    const int length = CharLength(s);
    ASSERT_EQ(length, 10);
    for (int n = 0; n <= length; ++n) {
        EXPECT_EQ(CharLeft(s, n) + CharRight(s, length - n), s) << n;
        EXPECT_EQ(CharLength(CharLeft(s, n)), n) << n;
    }
    std::string joined;
    for (int i = 1; i <= length; ++i) {
        const std::string c = CharMid(s, i, 1);
        EXPECT_EQ(CharLength(c), 1) << i;
        joined += c;
    }
    EXPECT_EQ(joined, s);
    EXPECT_EQ(CharMid(s, 1, 1), "写");
    EXPECT_EQ(CharMid(s, 2, 1), "\xe5");
    EXPECT_EQ(CharMid(s, 7, 1), "\\");
    EXPECT_EQ(CharMid(s, 8, 1), "🎞");
}

TEST(TextHelpers, FolderPrefix)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/a/b", "/a/b/"},
        {"/", "/"},
        {"/a/", "/a/"},
        {"", "/"},
        {"/写真", "/写真/"},
    };
    for (const auto& [folder, expected] : cases)
        EXPECT_EQ(FolderPrefix(folder), expected) << folder;
}

} // namespace
