#pragma once
// The capture times of a folder's files, each header read at most once: what the cache knows
// is taken from it, the rest read on every core and then learnt by the cache. Shared by the
// capture-date sort and the naming of files after their capture times.
#include "filelist/capturecache.h"
#include "platform/filestamp.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct CaptureLook {
    std::optional<platform::FileStamp> Stamp; // none when the name could not be examined
    std::optional<CaptureTime> Time;
    metadata::Camera Taken; // read with the time
};

struct CaptureLooks {
    std::vector<CaptureLook> Files; // by position of the names; untouched where not wanted
    std::size_t HeadersRead = 0;    // files opened now, the rest known to the cache
};

// Looks at every name (bare names in folderPrefix, which ends in "/"), or only at the names
// whose flag in `wanted` is set when it is given (of the names' length): one stat each, and
// only a regular file the cache does not know as it stands is opened. progress gets the files
// looked at and their number, on the calling thread only; what it throws stops the look (the
// other threads too) and comes out once they are joined.
using LookProgress = std::function<void(std::size_t done, std::size_t total)>;
CaptureLooks LookForCaptureTimes(const std::string& folderPrefix, const std::vector<std::string>& names,
                                 const std::vector<bool>* wanted, CaptureTimeCache& cache,
                                 const LookProgress& progress = {});

struct SelectedCaptureTimes {
    std::vector<std::optional<CaptureTime>> Times; // by row; none for a row not selected too
    std::vector<metadata::Camera> Cameras;         // by row, likewise
    std::size_t HeadersRead = 0;
};

// The capture time of each selected file, for one trial run or execution.
SelectedCaptureTimes CaptureTimesOfSelected(const std::string& folderPrefix,
                                            const std::vector<std::string>& names,
                                            const std::vector<bool>& selected, CaptureTimeCache& cache);
