#pragma once
// Names made from capture times: the replacement text read as a pattern of date letters.
// Pure: the times are read elsewhere (filelist/capturereading.h).
#include "metadata/capturetime.h"
#include "rename/companions.h"

#include <cstdint>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The mark of a selected row whose file has no capture time: it keeps its name.
inline constexpr std::string_view kNoCaptureTimeText = "撮影日時がありません";

// The pattern with "%Y" as the four-digit year and "%m" "%d" "%H" "%M" "%S" as the two-digit
// month, day, hour, minute and second of the time on the camera's own clock; "%%" is one "%".
// Any other text, an unknown "%q" or a "%" at the end included, stays as it is.
std::string ExpandCapturePattern(std::string_view pattern, const CaptureTime& time);

// By row: the pattern expanded for the row's time, none where there is no time (the row
// keeps its name, yet takes its sequence number). The text parts for ComposeNewName.
std::vector<std::optional<std::string>> CaptureTextParts(
    std::string_view pattern, const std::vector<std::optional<CaptureTime>>& times);

// A capture time with the clock offset added (every capture time the program uses takes it).
CaptureTime WithClockOffset(CaptureTime time, int64_t offsetSeconds);

// The day of a capture time on the camera's clock, as days since 1970-01-01.
int64_t DayOfCapture(const CaptureTime& time);

// The day counter: by row, true at each photo (first member of a group, in group order) whose
// day differs from the previous photo's, where the sequence starts again at the base number.
// days: by row, the photo's day; none for a photo without any date, which counts on in the
// day before it.
std::vector<bool> DayCounterRestarts(const FileGroups& groups, const std::vector<std::optional<int64_t>>& days);
