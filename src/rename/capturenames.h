#pragma once
// Names made from capture times: the replacement text read as a pattern of date letters.
// Pure: the times are read elsewhere (filelist/capturereading.h).
#include "metadata/capturetime.h"
#include "metadata/filefacts.h"
#include "rename/companions.h"

#include <cstdint>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The marks of a selected row that keeps its name for want of what its pattern needs: no
// capture time, or no camera maker, model or lens its pattern names (the time's goes first).
inline constexpr std::string_view kNoCaptureTimeText = "撮影日時がありません";
inline constexpr std::string_view kNoCameraFactText = "撮影情報がありません";
enum class CaptureMark : std::uint8_t { None, NoTime, NoCameraFact };
std::string_view CaptureMarkText(CaptureMark mark);

// A camera's maker, model or lens as a name takes it: "/" and control characters each
// become "_", then spaces at both ends go. Empty: the value is missing.
std::string CameraNameText(std::string_view text);

// The pattern with "%Y" as the four-digit year and "%m" "%d" "%H" "%M" "%S" as the two-digit
// month, day, hour, minute and second of the time on the camera's own clock; "%%" is one "%";
// "%{make}", "%{model}" and "%{lens}" the camera's values as CameraNameText makes them. Any
// other text, an unknown "%q" or a "%" at the end included, stays as it is.
std::string ExpandCapturePattern(std::string_view pattern, const CaptureTime& time,
                                 const metadata::Camera& camera = {});

// By row: the pattern expanded for the row's time and camera (cameras by row, when given),
// none where the time or a camera value the pattern names is missing (the row keeps its name,
// yet takes its sequence number; marks, when given, says why). The text parts for
// ComposeNewName.
std::vector<std::optional<std::string>> CaptureTextParts(
    std::string_view pattern, const std::vector<std::optional<CaptureTime>>& times,
    const std::vector<metadata::Camera>* cameras = nullptr, std::vector<CaptureMark>* marks = nullptr);

// A capture time with the clock offset added (every capture time the program uses takes it).
CaptureTime WithClockOffset(CaptureTime time, int64_t offsetSeconds);

// The day of a capture time on the camera's clock, as days since 1970-01-01.
int64_t DayOfCapture(const CaptureTime& time);

// The day counter: by row, true at each photo (first member of a group, in group order) whose
// day differs from the previous photo's, where the sequence starts again at the base number.
// days: by row, the photo's day; none for a photo without any date, which counts on in the
// day before it.
std::vector<bool> DayCounterRestarts(const FileGroups& groups, const std::vector<std::optional<int64_t>>& days);
