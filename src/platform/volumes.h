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

} // namespace platform
