#pragma once
// The mounted volumes that stand in for drives: real file systems only, "/" first.
#include <string>
#include <vector>

namespace platform {

struct Volume {
    std::string MountPoint; // raw bytes, absolute
    std::string Label;      // may be empty
};

std::vector<Volume> MountedVolumes();

// Replaces the system's list until called again with an empty list (tests only).
void OverrideVolumesForTesting(std::vector<Volume> volumes);

} // namespace platform
