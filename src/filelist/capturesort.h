#pragma once
// The capture-date sort of a folder listing: each file's header read once, then ordered.
#include "filelist/capturecache.h"
#include "filelist/capturereading.h"

#include <cstddef>
#include <string>
#include <vector>

struct CaptureSortResult {
    std::vector<std::size_t> Order; // positions of the names, in capture-date order
    std::vector<std::string> Keys;  // by position: the capture time's text, else the date key
};

// Orders names (bare names in folderPrefix, which ends in "/") as CaptureOrder does, reading
// each file's capture time (from the cache when it knows the file as it stands, which then
// learns the rest) and, for a file without one, its modification time.
CaptureSortResult CaptureSortOfFolder(const std::string& folderPrefix,
                                      const std::vector<std::string>& names, CaptureTimeCache& cache,
                                      const LookProgress& progress = {});
