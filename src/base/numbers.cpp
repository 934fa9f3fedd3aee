#include "base/numbers.h"

#include <cstddef>

namespace {

[[noreturn]] void Reject(const std::string& s)
{
    throw EConvertError("'" + s + "' は整数ではありません");
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

int32_t ParseInteger(const std::string& s)
{
    std::size_t i = s.find_first_not_of(' ');
    if (i == std::string::npos)
        Reject(s);
    // Digits are summed in 64 bits and checked after each one, so no digit string, however
    // long, can overflow.
    std::uint64_t value = 0;
    if (s[i] == '$') {
        if (++i == s.size())
            Reject(s);
        for (; i < s.size(); ++i) {
            const int d = HexValue(s[i]);
            if (d < 0)
                Reject(s);
            value = value * 16 + static_cast<unsigned>(d);
            if (value > 0xFFFFFFFFu)
                Reject(s);
        }
        return static_cast<int32_t>(static_cast<std::uint32_t>(value));
    }
    const bool negative = s[i] == '-';
    if (s[i] == '-' || s[i] == '+')
        ++i;
    if (i == s.size())
        Reject(s);
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            Reject(s);
        value = value * 10 + static_cast<unsigned>(s[i] - '0');
        if (value > limit)
            Reject(s);
    }
    return negative ? static_cast<int32_t>(-static_cast<std::int64_t>(value))
                    : static_cast<int32_t>(value);
}

std::string FormatCounter(int n, int t)
{
    // Both texts are ASCII, so the last three characters are the last three bytes.
    const auto three = [](int v) {
        const std::string text = "000" + std::to_string(v);
        return text.substr(text.size() - 3);
    };
    return three(n) + "/" + three(t);
}

