#include "filelist/capturesort.h"

#include "filelist/capturetime.h"
#include "filelist/sortkeys.h"

#include <optional>

CaptureSortResult CaptureSortOfFolder(const std::string& folderPrefix,
                                      const std::vector<std::string>& names)
{
    std::vector<std::optional<CaptureTime>> times;
    times.reserve(names.size());
    for (const std::string& name : names)
        times.push_back(CaptureTimeOfFile(folderPrefix + name));
    CaptureSortResult result;
    result.Keys.resize(names.size());
    result.Order = CaptureOrder(times, [&](std::size_t i) {
        return result.Keys[i] = DateKeyOfFile(folderPrefix + names[i]);
    });
    for (std::size_t i = 0; i < names.size(); ++i)
        if (times[i])
            result.Keys[i] = CaptureTimeText(*times[i]);
    return result;
}
