#pragma once
// What a file is and when it last changed, from one stat: enough to know that a file read
// before is still the same file with the same bytes, without opening it.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace platform {

struct FileStamp {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    int64_t Size = 0;
    // Last modification and last status change, seconds and nanoseconds kept apart so that no
    // time a file system can hold overflows; a rewrite that restores the modification time
    // still moves the status change.
    int64_t ModifiedNanos = 0;
    int64_t Changed = 0;
    int64_t ChangedNanos = 0;
    bool Regular = false;   // a regular file (symbolic links followed)
    bool Link = false;      // the name itself is a symbolic link
    bool Folder = false;    // a folder (symbolic links followed)
    std::time_t Modified = 0; // seconds of the last modification
    bool operator==(const FileStamp&) const = default;
};

// The stamp of what path names, symbolic links followed (one lstat for a name that is no
// link); none, with errno set, when it can't be examined.
std::optional<FileStamp> StampOfFile(const std::string& path);

// The time as local time; false when it can't be converted.
bool LocalTimeOf(std::time_t time, std::tm& local);

} // namespace platform
