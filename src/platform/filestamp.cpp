#include "platform/filestamp.h"

#include <sys/stat.h>

namespace platform {

std::optional<FileStamp> StampOfFile(const std::string& path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    const bool link = S_ISLNK(st.st_mode);
    if (link && stat(path.c_str(), &st) != 0)
        return std::nullopt;
    FileStamp s;
    s.Device = static_cast<uint64_t>(st.st_dev);
    s.Inode = static_cast<uint64_t>(st.st_ino);
    s.Size = static_cast<int64_t>(st.st_size);
    s.ModifiedNanos = st.st_mtim.tv_nsec;
    s.Changed = st.st_ctim.tv_sec;
    s.ChangedNanos = st.st_ctim.tv_nsec;
    s.Regular = S_ISREG(st.st_mode);
    s.Link = link;
    s.Folder = S_ISDIR(st.st_mode);
    s.Modified = st.st_mtime;
    return s;
}

bool LocalTimeOf(std::time_t time, std::tm& local)
{
    return localtime_r(&time, &local) != nullptr;
}

} // namespace platform
