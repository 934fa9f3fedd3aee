// The character helpers checked against each other on any bytes, valid UTF-8 or not: the
// pieces they cut always fit back together, and their lengths are what was asked for.
#include "rename/texthelpers.h"

#include "check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const int n = in.ConsumeIntegral<int>();
    const int start = in.ConsumeIntegralInRange<int>(-3, 300);
    const int count = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange<int>(-3, 300);
    const int counterN = in.ConsumeIntegral<int>();
    const int counterT = in.ConsumeIntegral<int>();
    const std::string s = in.ConsumeRemainingBytesAsString();

    const int length = CharLength(s);
    FUZZ_CHECK(length >= 0 && static_cast<std::size_t>(length) <= s.size());
    FUZZ_CHECK((length == 0) == s.empty());

    const int clamped = std::clamp(n, 0, length);
    const std::string left = CharLeft(s, n);
    const std::string right = CharRight(s, n);
    FUZZ_CHECK(CharLength(left) == clamped);
    FUZZ_CHECK(CharLength(right) == clamped);
    FUZZ_CHECK(s.compare(0, left.size(), left) == 0);
    FUZZ_CHECK(s.size() >= right.size() &&
               s.compare(s.size() - right.size(), right.size(), right) == 0);
    // Left and right of the same cut make the whole text again: no character is split.
    FUZZ_CHECK(left + CharRight(s, length - clamped) == s);
    FUZZ_CHECK(CharLeft(s, length - clamped) + right == s);
    if (clamped < length)
        FUZZ_CHECK(left + CharMid(s, clamped + 1, length - clamped) == s);
    FUZZ_CHECK(CharMid(s, 1, length) == s);

    const std::string mid = CharMid(s, start, count);
    if (start <= 0 || count <= 0 || length == 0) {
        FUZZ_CHECK(mid.empty());
    } else {
        // A start past the end is moved back to the last character.
        const long long first = std::min(start, length);
        const long long last = std::min<long long>(first + count - 1, length);
        const int take = static_cast<int>(last - first + 1);
        FUZZ_CHECK(mid == CharRight(CharLeft(s, static_cast<int>(last)), take));
        FUZZ_CHECK(CharLength(mid) == take);
    }

    try {
        const int32_t value = ParseInteger(s);
        FUZZ_CHECK(ParseInteger(std::to_string(value)) == value);
        FUZZ_CHECK(ParseInteger("  " + std::to_string(value)) == value);
    } catch (const EConvertError& e) {
        // what() is a C string: a NUL byte in the text ends the message there.
        const std::string message = "'" + s + "' は整数ではありません";
        FUZZ_CHECK(std::string(e.what()) == message.substr(0, message.find('\0')));
    }

    FUZZ_CHECK(FormatCounter(counterN, counterT) ==
               CharRight("000" + std::to_string(counterN), 3) + "/" +
                   CharRight("000" + std::to_string(counterT), 3));
    return 0;
}
