#include "rename/capturerun.h"

#include "rename/capturenames.h"

#include <QDate>
#include <QDateTime>
#include <memory>
#include <optional>

namespace {
// The Julian day of 1970-01-01, so that dates of both clocks count days alike.
constexpr int64_t kJulianDayOf1970 = 2440588;

bool NamesFromTimes(const RenameInputValues& in)
{
    return in.CaptureName && in.ChangeText;
}

bool CountsByDay(const RenameInputValues& in)
{
    return in.DayCounter && in.Sequential;
}

// The modification time as the machine's local date: the day the photo was copied or edited
// when the camera wrote no time.
int64_t LocalDayOf(std::time_t modified)
{
    return QDateTime::fromSecsSinceEpoch(modified).date().toJulianDay() - kJulianDayOf1970;
}
} // namespace

bool RunNeedsCaptureTimes(const RenameInputValues& in)
{
    return NamesFromTimes(in) || CountsByDay(in);
}

void AddCaptureNaming(RenameOptions& options, const RenameInputValues& in, const FileGroups& groups,
                      const std::vector<CaptureLook>& looks, std::vector<bool>* noTime)
{
    if (!RunNeedsCaptureTimes(in))
        return;
    std::vector<std::optional<CaptureTime>> times(looks.size());
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::size_t row = groups.PhotoOf(g);
        if (looks[row].Time)
            times[row] = WithClockOffset(*looks[row].Time, in.ClockOffset);
    }
    if (NamesFromTimes(in)) {
        auto parts = std::make_shared<std::vector<std::optional<std::string>>>(CaptureTextParts(options.NewText, times));
        if (noTime) {
            // Only a photo's own time names its group; a companion needs none.
            noTime->assign(parts->size(), false);
            for (std::size_t g = 0; g < groups.size(); ++g)
                (*noTime)[groups.PhotoOf(g)] = !(*parts)[groups.PhotoOf(g)];
        }
        options.TextParts = std::move(parts);
    }
    if (CountsByDay(in)) {
        std::vector<std::optional<int64_t>> days(looks.size());
        for (std::size_t g = 0; g < groups.size(); ++g) {
            const std::size_t row = groups.PhotoOf(g);
            if (times[row])
                days[row] = DayOfCapture(*times[row]);
            else if (looks[row].Stamp)
                days[row] = LocalDayOf(looks[row].Stamp->Modified);
        }
        options.Restarts = std::make_shared<const std::vector<bool>>(DayCounterRestarts(groups, days));
    }
}

void AddCaptureNaming(RenameOptions& options, const RenameInputValues& in, const std::string& prefix,
                      const std::vector<std::string>& names, const FileGroups& groups,
                      CaptureTimeCache& cache, std::vector<bool>* noTime)
{
    if (!RunNeedsCaptureTimes(in))
        return;
    std::vector<bool> photos(names.size(), false);
    for (std::size_t g = 0; g < groups.size(); ++g)
        photos[groups.PhotoOf(g)] = true;
    const CaptureLooks looks = LookForCaptureTimes(prefix, names, &photos, cache);
    AddCaptureNaming(options, in, groups, looks.Files, noTime);
}
