#pragma once
// Names made from capture times: the replacement text read as a pattern of date letters.
// Pure: the times are read elsewhere (filelist/capturereading.h).
#include "filelist/capturetime.h"

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
