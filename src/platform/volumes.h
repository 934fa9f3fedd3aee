#pragma once
// The mounted volumes that stand in for drives: real file systems only, "/" first. Read from
// the kernel's list of mounts without asking any of them, so a mount that no longer answers
// (a dead network or FUSE file system) is listed without delay.
#include "platform/mountinfo.h"

#include <map>
#include <string>
#include <vector>

namespace platform {

struct Volume {
    std::string MountPoint; // raw bytes, absolute
    std::string Label;      // may be empty
};

std::vector<Volume> MountedVolumes();

// The same from the mounts in the kernel's order and the labels of devices by their paths
// (links under /dev resolved).
std::vector<Volume> VolumesOf(const std::vector<MountEntry>& mounts,
                              const std::map<std::string, std::string>& labels);

// The label of each device that has one, from the links udev makes (/dev/disk/by-label):
// the link's name with its \xNN escapes decoded, keyed by the device it resolves to.
std::map<std::string, std::string> LabelsByDevice(const std::string& folder);

} // namespace platform
