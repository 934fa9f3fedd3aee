#pragma once
// The mounts as the kernel lists them in /proc/self/mountinfo, read without touching any of
// them: a network or FUSE mount that no longer answers blocks whoever stats it, never this.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct MountEntry {
    unsigned Major = 0, Minor = 0; // the device numbers st_dev shows for files on it
    std::string MountPoint;        // raw bytes, escapes decoded
    std::string Type;              // "ext4", "fuseblk", "fuse.sshfs", ...
    std::string Source;            // "/dev/sda1", "user@host:/path", "none", ...
};

// One line of mountinfo ("id parent major:minor root point options [optional fields] - type
// source options"); none when the line is not one.
std::optional<MountEntry> ParseMountInfoLine(std::string_view line);

// Every mount of this process's namespace, in the kernel's order (a later entry on the same
// point lies over an earlier one); empty when the file can't be read.
std::vector<MountEntry> ReadMountInfo();

} // namespace platform
