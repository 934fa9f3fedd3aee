#include "rename/texthelpers.h"

#include <algorithm>
#include <cstddef>

namespace {

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Byte length of the character starting at s[i]. A well-formed UTF-8 sequence is one
// character; anything else (stray continuation byte, bad or overlong lead, surrogate,
// truncated sequence) leaves its first byte as a character of its own.
std::size_t CharSize(const std::string& s, std::size_t i)
{
    const auto at = [&](std::size_t k) -> unsigned char {
        return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0;
    };
    const unsigned char c = at(0);
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return IsContinuation(at(1)) ? 2 : 1;
    if (c >= 0xE0 && c <= 0xEF) {
        const unsigned char c1 = at(1);
        // The second byte's range rules out overlong forms (E0) and surrogates (ED).
        const unsigned char lo = c == 0xE0 ? 0xA0 : 0x80;
        const unsigned char hi = c == 0xED ? 0x9F : 0xBF;
        return c1 >= lo && c1 <= hi && IsContinuation(at(2)) ? 3 : 1;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        const unsigned char c1 = at(1);
        // F0 must not be overlong, F4 must stay at or below U+10FFFF.
        const unsigned char lo = c == 0xF0 ? 0x90 : 0x80;
        const unsigned char hi = c == 0xF4 ? 0x8F : 0xBF;
        return c1 >= lo && c1 <= hi && IsContinuation(at(2)) && IsContinuation(at(3)) ? 4 : 1;
    }
    return 1;
}

// Byte offset of the character at 0-based index k (s.size() when k is the length).
std::size_t OffsetOf(const std::string& s, long long k)
{
    std::size_t i = 0;
    for (; k > 0 && i < s.size(); --k)
        i += CharSize(s, i);
    return i;
}

// Characters first..last (1-based, inclusive), both already within 1..length.
std::string Slice(const std::string& s, long long first, long long last)
{
    const std::size_t begin = OffsetOf(s, first - 1);
    std::size_t end = begin;
    for (long long k = last - first + 1; k > 0 && end < s.size(); --k)
        end += CharSize(s, end);
    return s.substr(begin, end - begin);
}

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

int CharLength(const std::string& s)
{
    int n = 0;
    for (std::size_t i = 0; i < s.size(); i += CharSize(s, i))
        ++n;
    return n;
}

std::string CharLeft(const std::string& s, int n)
{
    if (n <= 0)
        return {};
    return s.substr(0, OffsetOf(s, n));
}

std::string CharRight(const std::string& s, int n)
{
    const long long length = CharLength(s);
    const long long first = std::max(length - n + 1, 1LL);
    if (first > length)
        return {};
    return s.substr(OffsetOf(s, first - 1));
}

std::string CharMid(const std::string& s, int start, int count)
{
    const long long length = CharLength(s);
    const long long first = std::min<long long>(start, length);
    const long long last = std::min<long long>(first + count - 1, length);
    if (first <= 0 || last < first)
        return {};
    return Slice(s, first, last);
}

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

