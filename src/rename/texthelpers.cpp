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
