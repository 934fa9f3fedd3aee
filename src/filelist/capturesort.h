#pragma once
// The capture-date sort of a folder listing: each file's header read once, then ordered.
#include <cstddef>
#include <string>
#include <vector>

struct CaptureSortResult {
    std::vector<std::size_t> Order; // positions of the names, in capture-date order
    std::vector<std::string> Keys;  // by position: the capture time's text, else the date key
};

// Orders names (bare names in folderPrefix, which ends in "/") as CaptureOrder does, reading
// each file's capture time and, for a file without one, its modification time.
CaptureSortResult CaptureSortOfFolder(const std::string& folderPrefix,
                                      const std::vector<std::string>& names);
