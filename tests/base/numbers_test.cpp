#include "base/numbers.h"

#include "support/rowname.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using AcceptCase = std::pair<std::string, int32_t>;

class ParseIntegerAcceptsRows : public testing::TestWithParam<AcceptCase> {};

TEST_P(ParseIntegerAcceptsRows, GivesTheValue)
{
    const auto& [s, v] = GetParam();
    try {
        EXPECT_EQ(ParseInteger(s), v) << "'" << s << "'";
    } catch (const EConvertError& e) {
        ADD_FAILURE() << "'" << s << "' rejected: " << e.what();
    }
}

const std::vector<AcceptCase> kParseIntegerAcceptsRows = {
    {"0", 0},
    {"5", 5},
    {"-0", 0},
    {" -0", 0},
    {"   42", 42},
    {"+7", 7},
    {"007", 7},
    {"2147483647", 2147483647},
    {"-2147483648", INT32_MIN},
    {"$10", 16},
    {"$ff", 255},
    {"$7FFFFFFF", 2147483647},
    {"$80000000", INT32_MIN},
    {"$FFFFFFFF", -1},
    {"$00000000FFFFFFFF", -1},
    {"  $1a", 26},
    {std::string(1000, '0') + "12", 12},
};

INSTANTIATE_TEST_SUITE_P(Numbers, ParseIntegerAcceptsRows, testing::ValuesIn(kParseIntegerAcceptsRows),
                         RowNames([](const AcceptCase& c) { return c.first; }));

class ParseIntegerRejectsRows : public testing::TestWithParam<std::string> {};

TEST_P(ParseIntegerRejectsRows, ThrowsTheConvertError)
{
    const std::string& s = GetParam();
    try {
        const int32_t v = ParseInteger(s);
        ADD_FAILURE() << "'" << s << "' accepted as " << v;
    } catch (const EConvertError& e) {
        // what() is a C string, so a NUL in the text ends the message there.
        const std::string message = "'" + s + "' は整数ではありません";
        EXPECT_STREQ(e.what(), message.c_str());
    }
}

const std::vector<std::string> kParseIntegerRejectsRows = {
    "", " ", "+", "-", "$", " $", "1 ", "1\t", "\t1", "0x10", "x10", "-$10", "$-1", "+$1",
    "$G", "1e3", "12a", "--1", "+-1", "- 1", "1,000", "2147483648", "-2147483649",
    "$100000000", "$1FFFFFFFF", "１２", std::string("1\0", 2), std::string(1000, '9'),
    "-" + std::string(1000, '9'), "$" + std::string(1000, 'F'),
};

INSTANTIATE_TEST_SUITE_P(Numbers, ParseIntegerRejectsRows, testing::ValuesIn(kParseIntegerRejectsRows),
                         RowNames([](const std::string& s) { return s; }));

TEST(Numbers, ConvertErrorIsAPelkorinError)
{
    EXPECT_THROW(ParseInteger("abc"), PelkorinError);
}

TEST(Numbers, FormatsTheCounter)
{
    const std::vector<std::tuple<int, int, std::string>> cases = {
        {2, 15, "002/015"},
        {0, 0, "000/000"},
        {999, 1000, "999/000"},
        {1234, 100000, "234/000"},
        {-5, 7, "0-5/007"},
        {-123, 3, "123/003"},
    };
    for (const auto& [n, t, expected] : cases)
        EXPECT_EQ(FormatCounter(n, t), expected) << n << "/" << t;
}

} // namespace
