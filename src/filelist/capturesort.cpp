#include "filelist/capturesort.h"

#include "filelist/capturereading.h"
#include "metadata/capturetime.h"
#include "filelist/sortkeys.h"

#include <optional>

CaptureSortResult CaptureSortOfFolder(const std::string& folderPrefix,
                                      const std::vector<std::string>& names, CaptureTimeCache& cache,
                                      const LookProgress& progress)
{
    const std::vector<CaptureLook> looked =
        LookForCaptureTimes(folderPrefix, names, nullptr, cache, progress).Files;
    std::vector<std::optional<CaptureTime>> times(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        times[i] = looked[i].Time;
    CaptureSortResult result;
    result.Keys.resize(names.size());
    // A file without a capture time is dated from the stat already made.
    result.Order = CaptureOrder(times, [&](std::size_t i) {
        return result.Keys[i] = looked[i].Stamp ? DateKeyOfTime(looked[i].Stamp->Modified) : DateKey(-1);
    });
    for (std::size_t i = 0; i < names.size(); ++i)
        if (times[i])
            result.Keys[i] = CaptureTimeText(*times[i]);
    return result;
}
