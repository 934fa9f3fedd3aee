#include "metadata/capturetime.h"

#include "metadata/exifblock.h"
#include "platform/filestart.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

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

// An ASCII entry's text up to its first NUL; empty for a missing or non-text entry.
std::string_view EntryText(ExifContent* content, ExifTag tag)
{
    ExifEntry* e = content ? exif_content_get_entry(content, tag) : nullptr;
    if (!e || !e->data || e->format != EXIF_FORMAT_ASCII)
        return {};
    const std::string_view text(reinterpret_cast<const char*>(e->data), e->size);
    return text.substr(0, text.find('\0'));
}

// Sub-seconds as nanoseconds: "12" is 0.12 s. Trailing blanks are allowed, anything else but
// digits makes the tag count as absent.
uint32_t SubSecondNanoseconds(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty())
        return 0;
    uint32_t nanos = 0;
    for (std::size_t i = 0; i < 9; ++i) {
        char c = i < text.size() ? text[i] : '0';
        if (c < '0' || c > '9')
            return 0;
        nanos = nanos * 10 + static_cast<uint32_t>(c - '0');
    }
    for (std::size_t i = 9; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return 0;
    return nanos;
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
    if (start.empty())
        return std::nullopt;
    const ExifDataPtr data = LoadExifBlock(start);
    if (!data)
        return std::nullopt;
    ExifContent* exif = data->ifd[EXIF_IFD_EXIF];
    ExifContent* image = data->ifd[EXIF_IFD_0];
    const struct {
        ExifContent* content;
        ExifTag time;
        ExifTag subSeconds;
    } candidates[] = {
        {exif, EXIF_TAG_DATE_TIME_ORIGINAL, EXIF_TAG_SUB_SEC_TIME_ORIGINAL},
        {exif, EXIF_TAG_DATE_TIME_DIGITIZED, EXIF_TAG_SUB_SEC_TIME_DIGITIZED},
        {image, EXIF_TAG_DATE_TIME, EXIF_TAG_SUB_SEC_TIME},
    };
    for (const auto& c : candidates) {
        const std::optional<int64_t> seconds = ExifDateTimeSeconds(EntryText(c.content, c.time));
        if (seconds)
            return CaptureTime{*seconds, SubSecondNanoseconds(EntryText(exif, c.subSeconds))};
    }
    return std::nullopt;
}

std::optional<CaptureTime> CaptureTimeOfFile(const std::string& path)
{
    platform::FileStartReader reader(path);
    return CaptureTimeOfReader(reader);
}

std::optional<CaptureTime> CaptureTimeOfFile(const std::string& path, const platform::LookedAt& seen)
{
    platform::FileStartReader reader(path, seen);
    return CaptureTimeOfReader(reader);
}

std::optional<CaptureTime> CaptureTimeOfReader(platform::FileStartReader& reader)
{
    if (!reader.valid())
        return std::nullopt;
    // One buffer for every file: a fresh one would be cleared or allocated per file, which
    // costs as much as the read itself in a large folder.
    thread_local std::vector<char> buffer(kCaptureBytesLimit);
    // A first read of 16 KiB holds most EXIF blocks whole (thumbnail included) and settles
    // files that are no JPEG; a longer block takes one more read to its end.
    std::size_t have = 0;
    std::size_t want = 16384;
    for (;;) {
        const std::size_t had = have;
        have = reader.ReadUpTo(buffer.data(), have, want);
        if (have == had)
            break;
        const std::size_t more =
            std::min(ExifBytesWanted(std::string_view(buffer.data(), have)), kCaptureBytesLimit);
        if (more <= have)
            break;
        want = more;
    }
    return CaptureTimeFromBytes(std::string_view(buffer.data(), have));
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
