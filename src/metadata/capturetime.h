#pragma once
// The time a photo was taken or a video made, as the file says.
#include "platform/filestart.h"

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A capture time on the camera's own clock (EXIF keeps no time zone), ordered oldest first.
struct CaptureTime {
    int64_t Seconds = 0;      // since 1970-01-01 00:00:00 of that clock; earlier is negative
    uint32_t Nanoseconds = 0; // from the sub-seconds tag of the time used
    auto operator<=>(const CaptureTime&) const = default;
};

// No more of a JPEG file's start than this is read for its EXIF block: writers put it in the
// first segments (at most 64 KiB long, after a few others); a start longer than this before
// the block is a damaged file, not worth reading on.
inline constexpr std::size_t kCaptureBytesLimit = 1024 * 1024;

// How many bytes of a file's start its EXIF block needs, judged from the bytes read so far:
// more than start.size() while the block, or a segment before it, runs past them; else
// start.size() (the block is all there, or the bytes hold none and more would not help).
std::size_t ExifBytesWanted(std::string_view start);

// "YYYY:MM:DD HH:MM:SS" as seconds of CaptureTime, only for a real date and time of the years
// 1 to 9999; nullopt for anything else, "0000:00:00 00:00:00" and blanks included.
std::optional<int64_t> ExifDateTimeSeconds(std::string_view text);

// The capture time in a file's bytes (any format metadata::FactsOfFile reads, or a bare
// "Exif\0\0" block): DateTimeOriginal, else DateTimeDigitized, else the first image
// directory's DateTime, each only when it holds a real date; the sub-seconds tag belonging to
// the time used gives the fraction. Any bytes at all give a time or nullopt.
std::optional<CaptureTime> CaptureTimeFromBytes(std::string_view start);

// The capture time of a regular file, read only where its metadata lies; nullopt for
// anything that is not a readable regular file.
std::optional<CaptureTime> CaptureTimeOfFile(const std::string& path);
// The same for a file its caller has looked at already, so it is not looked at twice.
std::optional<CaptureTime> CaptureTimeOfFile(const std::string& path, const platform::LookedAt& seen);
// The same from a reader already opened.
std::optional<CaptureTime> CaptureTimeOfReader(platform::FileStartReader& reader);

// "YYYY:MM:DD HH:MM:SS.nnnnnnnnn", the key shown by the hidden sort list.
std::string CaptureTimeText(const CaptureTime& time);
