#include "platform/filestamp.h"

#include "platform/filesystem.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

namespace {
// dir is AT_FDCWD for a path, or an open folder for a bare name.
std::optional<FileStamp> StampAt(int dir, const char* path)
{
    struct stat st;
    if (fstatat(dir, path, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    const bool link = S_ISLNK(st.st_mode);
    if (link && fstatat(dir, path, &st, 0) != 0)
        return std::nullopt;
    const auto ns = [](const timespec& t) { return int64_t{t.tv_sec} * 1000000000 + t.tv_nsec; };
    FileStamp s;
    s.Device = static_cast<uint64_t>(st.st_dev);
    s.Inode = static_cast<uint64_t>(st.st_ino);
    s.Size = static_cast<int64_t>(st.st_size);
    s.ModifiedNs = ns(st.st_mtim);
    s.ChangedNs = ns(st.st_ctim);
    s.Regular = S_ISREG(st.st_mode);
    s.Link = link;
    s.Modified = st.st_mtime;
    return s;
}
} // namespace

std::optional<FileStamp> StampOfFile(const std::string& path)
{
    return StampAt(AT_FDCWD, path.c_str());
}

std::optional<FileStamp> FolderHandle::StampOf(const std::string& name) const
{
    if (!valid() || name.empty() || name.find('/') != std::string::npos)
        return std::nullopt;
    return StampAt(fd_, name.c_str());
}

bool LocalTimeOf(std::time_t time, std::tm& local)
{
    return localtime_r(&time, &local) != nullptr;
}

} // namespace platform
