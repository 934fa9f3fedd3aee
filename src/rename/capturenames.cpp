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

constexpr std::string_view kMake = "%{make}", kModel = "%{model}", kLens = "%{lens}";

// The camera value a "%{...}" mark at the start of text names; null for none.
const std::string* CameraValue(std::string_view text, const metadata::Camera& camera, std::size_t& length)
{
    for (const auto& [mark, value] : {std::pair{kMake, &camera.Make}, std::pair{kModel, &camera.Model},
                                      std::pair{kLens, &camera.Lens}}) {
        if (text.starts_with(mark)) {
            length = mark.size();
            return value;
        }
    }
    return nullptr;
}

} // namespace

std::string_view CaptureMarkText(CaptureMark mark)
{
    switch (mark) {
    case CaptureMark::NoTime: return kNoCaptureTimeText;
    case CaptureMark::NoCameraFact: return kNoCameraFactText;
    case CaptureMark::None: break;
    }
    return {};
}

std::string CameraNameText(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '_';
    const std::size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return out.substr(first, out.find_last_not_of(' ') + 1 - first);
}

std::string ExpandCapturePattern(std::string_view pattern, const CaptureTime& time, const metadata::Camera& camera)
{
    const CivilTime t = CivilOf(time.Seconds);
    std::string out;
    out.reserve(pattern.size() + 8);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        std::size_t length = 0;
        if (const std::string* value = c == '%' ? CameraValue(pattern.substr(i), camera, length) : nullptr) {
            out += CameraNameText(*value);
            i += length - 1;
            continue;
        }
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
    std::string_view pattern, const std::vector<std::optional<CaptureTime>>& times,
    const std::vector<metadata::Camera>* cameras, std::vector<CaptureMark>* marks)
{
    // Which camera values the pattern names ("%%{make}" is a "%" and plain text).
    bool uses[3] = {};
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%')
            continue;
        const std::string_view rest = pattern.substr(i);
        uses[0] = uses[0] || rest.starts_with(kMake);
        uses[1] = uses[1] || rest.starts_with(kModel);
        uses[2] = uses[2] || rest.starts_with(kLens);
        i += rest.starts_with("%%") ? 1 : 0;
    }
    const metadata::Camera none;
    std::vector<std::optional<std::string>> parts;
    parts.reserve(times.size());
    if (marks)
        marks->assign(times.size(), CaptureMark::None);
    for (std::size_t row = 0; row < times.size(); ++row) {
        const metadata::Camera& camera = cameras && row < cameras->size() ? (*cameras)[row] : none;
        CaptureMark missing = CaptureMark::None;
        if (!times[row])
            missing = CaptureMark::NoTime;
        else if ((uses[0] && CameraNameText(camera.Make).empty()) || (uses[1] && CameraNameText(camera.Model).empty()) ||
                 (uses[2] && CameraNameText(camera.Lens).empty()))
            missing = CaptureMark::NoCameraFact;
        if (marks)
            (*marks)[row] = missing;
        parts.push_back(missing == CaptureMark::None ? std::optional(ExpandCapturePattern(pattern, *times[row], camera))
                                                     : std::nullopt);
    }
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
