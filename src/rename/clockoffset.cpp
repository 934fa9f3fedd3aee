#include "rename/clockoffset.h"

#include <cstdio>

namespace {
constexpr int64_t kMostHours = 9999;

bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Two ASCII digits below 60 at text[at].
std::optional<int64_t> Sixty(std::string_view text, std::size_t at)
{
    if (at + 2 > text.size() || !IsAsciiDigit(text[at]) || !IsAsciiDigit(text[at + 1]))
        return std::nullopt;
    const int64_t v = (text[at] - '0') * 10 + (text[at + 1] - '0');
    return v < 60 ? std::optional(v) : std::nullopt;
}
} // namespace

std::optional<int64_t> ParseClockOffset(std::string_view text)
{
    if (text.empty() || (text[0] != '+' && text[0] != '-'))
        return std::nullopt;
    std::size_t i = 1;
    int64_t hours = 0;
    while (i < text.size() && IsAsciiDigit(text[i]) && i <= 4) {
        hours = hours * 10 + (text[i] - '0');
        ++i;
    }
    if (i == 1 || hours > kMostHours || i + 6 != text.size() || text[i] != ':' || text[i + 3] != ':')
        return std::nullopt;
    const std::optional<int64_t> minutes = Sixty(text, i + 1);
    const std::optional<int64_t> seconds = Sixty(text, i + 4);
    if (!minutes || !seconds)
        return std::nullopt;
    const int64_t total = hours * 3600 + *minutes * 60 + *seconds;
    return text[0] == '-' ? -total : total;
}

std::string ClockOffsetText(int64_t seconds)
{
    const char sign = seconds < 0 ? '-' : '+';
    const uint64_t s = seconds < 0 ? 0 - static_cast<uint64_t>(seconds) : static_cast<uint64_t>(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%c%llu:%02llu:%02llu", sign, static_cast<unsigned long long>(s / 3600),
                  static_cast<unsigned long long>(s / 60 % 60), static_cast<unsigned long long>(s % 60));
    return text;
}
