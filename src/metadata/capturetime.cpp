#include "metadata/capturetime.h"

#include "metadata/exifblock.h"
#include "metadata/filefacts.h"

#include <array>
#include <chrono>
#include <cstdio>

namespace {

namespace chr = std::chrono;

// Digits of text[at, at + count) as a number; nullopt when any is not a digit.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t count)
{
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::size_t ExifBytesWanted(std::string_view s)
{
    return LocateExif(s).Wanted;
}

std::optional<int64_t> ExifDateTimeSeconds(std::string_view text)
{
    if (text.size() != 19 || text[4] != ':' || text[7] != ':' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
    const auto hour = Digits(text, 11, 2), minute = Digits(text, 14, 2),
               second = Digits(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second)
        return std::nullopt;
    const chr::year_month_day date{chr::year{*year}, chr::month{static_cast<unsigned>(*month)},
                                   chr::day{static_cast<unsigned>(*day)}};
    if (*year < 1 || !date.ok() || *hour > 23 || *minute > 59 || *second > 59)
        return std::nullopt;
    const int64_t days = chr::sys_days{date}.time_since_epoch().count();
    return days * 86400 + *hour * 3600 + *minute * 60 + *second;
}

std::optional<CaptureTime> CaptureTimeFromBytes(std::string_view start)
{
    return metadata::FactsFromBytes(start).Time;
}

std::optional<CaptureTime> CaptureTimeOfFile(const std::string& path)
{
    return metadata::FactsOfFile(path).Time;
}

std::optional<CaptureTime> CaptureTimeOfFile(const std::string& path, const platform::LookedAt& seen)
{
    return metadata::FactsOfFile(path, seen).Time;
}

std::optional<CaptureTime> CaptureTimeOfReader(platform::FileStartReader& reader)
{
    return metadata::FactsOfReader(reader).Time;
}

std::string CaptureTimeText(const CaptureTime& time)
{
    const int64_t days = time.Seconds >= 0 ? time.Seconds / 86400 : (time.Seconds - 86399) / 86400;
    const int64_t secondOfDay = time.Seconds - days * 86400;
    const chr::year_month_day date{chr::sys_days{chr::days{days}}};
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "%04d:%02u:%02u %02d:%02d:%02d.%09u",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(secondOfDay / 3600),
                  static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60),
                  static_cast<unsigned>(time.Nanoseconds));
    return text.data();
}
