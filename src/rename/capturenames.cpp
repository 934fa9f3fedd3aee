#include "rename/capturenames.h"

#include <chrono>
#include <cstdint>

namespace {

namespace chr = std::chrono;

struct CivilTime {
    int year;
    unsigned month, day, hour, minute, second;
};

// The civil calendar of the camera's clock taken as it is: no time zone is applied.
CivilTime CivilOf(int64_t seconds)
{
    const int64_t days = DayOfCapture(CaptureTime{seconds, 0});
    const auto ofDay = static_cast<unsigned>(seconds - days * 86400);
    const chr::year_month_day date{chr::sys_days{chr::days{days}}};
    return {static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
            static_cast<unsigned>(date.day()), ofDay / 3600, ofDay / 60 % 60, ofDay % 60};
}

// Capture times come from years 1 to 9999, so four digits always hold the year.
void AppendDigits(std::string& out, unsigned value, int width)
{
    char digits[4];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out.append(digits, static_cast<std::size_t>(width));
}

} // namespace

std::string ExpandCapturePattern(std::string_view pattern, const CaptureTime& time)
{
    const CivilTime t = CivilOf(time.Seconds);
    std::string out;
    out.reserve(pattern.size() + 8);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const char letter = c == '%' && i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        switch (letter) {
        case 'Y': AppendDigits(out, static_cast<unsigned>(t.year), 4); break;
        case 'm': AppendDigits(out, t.month, 2); break;
        case 'd': AppendDigits(out, t.day, 2); break;
        case 'H': AppendDigits(out, t.hour, 2); break;
        case 'M': AppendDigits(out, t.minute, 2); break;
        case 'S': AppendDigits(out, t.second, 2); break;
        case '%': out += '%'; break;
        default: out += c; continue; // not a letter of the pattern: the "%" stays as it is
        }
        ++i;
    }
    return out;
}

std::vector<std::optional<std::string>> CaptureTextParts(
    std::string_view pattern, const std::vector<std::optional<CaptureTime>>& times)
{
    std::vector<std::optional<std::string>> parts;
    parts.reserve(times.size());
    for (const std::optional<CaptureTime>& t : times)
        parts.push_back(t ? std::optional(ExpandCapturePattern(pattern, *t)) : std::nullopt);
    return parts;
}

CaptureTime WithClockOffset(CaptureTime time, int64_t offsetSeconds)
{
    time.Seconds += offsetSeconds;
    return time;
}

int64_t DayOfCapture(const CaptureTime& time)
{
    return time.Seconds >= 0 ? time.Seconds / 86400 : (time.Seconds - 86399) / 86400;
}

std::vector<bool> DayCounterRestarts(const FileGroups& groups, const std::vector<std::optional<int64_t>>& days)
{
    std::vector<bool> restarts(days.size(), false);
    std::optional<int64_t> previous;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::optional<int64_t>& day = days[groups.PhotoOf(g)];
        if (!day)
            continue;
        // The first photo starts at the base number anyway.
        restarts[groups.PhotoOf(g)] = previous && *previous != *day;
        previous = day;
    }
    return restarts;
}
