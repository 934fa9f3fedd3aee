#include "rename/capturerun.h"

#include "rename/capturenames.h"

#include <QDateTime>
#include <QTimeZone>
#include <climits>
#include <memory>
#include <optional>

namespace {
bool NamesFromTimes(const RenameInputValues& in)
{
    return in.CaptureName && in.ChangeText;
}

bool CountsByDay(const RenameInputValues& in)
{
    return in.DayCounter && in.Sequential;
}

// The modification time as the machine's local date: the day the photo was copied or edited
// when the camera wrote no time. The zone's offset is looked up once for each stretch between
// two of its transitions, as the lookup is slow.
class LocalDays {
public:
    int64_t Of(std::time_t modified)
    {
        const int64_t t = modified;
        if (t < from_ || t >= to_)
            LookUp(t);
        return DayOfCapture(CaptureTime{t + offset_, 0});
    }

private:
    void LookUp(int64_t t)
    {
        const QDateTime at = QDateTime::fromSecsSinceEpoch(t, Qt::UTC);
        offset_ = zone_.offsetFromUtc(at);
        from_ = INT64_MIN;
        to_ = INT64_MAX;
        if (!zone_.hasTransitions())
            return;
        const QTimeZone::OffsetData before = zone_.previousTransition(at.addSecs(1));
        const QTimeZone::OffsetData after = zone_.nextTransition(at);
        if (before.atUtc.isValid())
            from_ = before.atUtc.toSecsSinceEpoch();
        if (after.atUtc.isValid())
            to_ = after.atUtc.toSecsSinceEpoch();
        // Should the zone's data disagree with itself, this time alone.
        if (from_ > t || to_ <= t) {
            from_ = t;
            to_ = t + 1;
        }
    }

    QTimeZone zone_ = QTimeZone::systemTimeZone();
    int64_t from_ = INT64_MAX, to_ = INT64_MIN;
    int64_t offset_ = 0;
};
} // namespace

bool RunNeedsCaptureTimes(const RenameInputValues& in)
{
    return NamesFromTimes(in) || CountsByDay(in);
}

void AddCaptureNaming(RenameOptions& options, const RenameInputValues& in, const FileGroups& groups,
                      const std::vector<CaptureLook>& looks, std::vector<CaptureMark>* marks)
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
        std::vector<metadata::Camera> cameras(looks.size());
        for (std::size_t g = 0; g < groups.size(); ++g)
            cameras[groups.PhotoOf(g)] = looks[groups.PhotoOf(g)].Taken;
        std::vector<CaptureMark> rowMarks;
        auto parts = std::make_shared<std::vector<std::optional<std::string>>>(
            CaptureTextParts(options.NewText, times, &cameras, &rowMarks));
        if (marks) {
            // Only a photo's own facts name its group; a companion needs none.
            marks->assign(parts->size(), CaptureMark::None);
            for (std::size_t g = 0; g < groups.size(); ++g)
                (*marks)[groups.PhotoOf(g)] = rowMarks[groups.PhotoOf(g)];
        }
        options.TextParts = std::move(parts);
    }
    if (CountsByDay(in)) {
        std::vector<std::optional<int64_t>> days(looks.size());
        LocalDays local;
        for (std::size_t g = 0; g < groups.size(); ++g) {
            const std::size_t row = groups.PhotoOf(g);
            if (times[row])
                days[row] = DayOfCapture(*times[row]);
            else if (looks[row].Stamp)
                days[row] = local.Of(looks[row].Stamp->Modified);
        }
        options.Restarts = std::make_shared<const std::vector<bool>>(DayCounterRestarts(groups, days));
    }
}

void AddCaptureNaming(RenameOptions& options, const RenameInputValues& in, const std::string& prefix,
                      const std::vector<std::string>& names, const FileGroups& groups,
                      CaptureTimeCache& cache, std::vector<CaptureMark>* marks)
{
    if (!RunNeedsCaptureTimes(in))
        return;
    std::vector<bool> photos(names.size(), false);
    for (std::size_t g = 0; g < groups.size(); ++g)
        photos[groups.PhotoOf(g)] = true;
    const CaptureLooks looks = LookForCaptureTimes(prefix, names, &photos, cache);
    AddCaptureNaming(options, in, groups, looks.Files, marks);
}
