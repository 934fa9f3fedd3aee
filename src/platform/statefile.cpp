#include "platform/statefile.h"

#include "base/errors.h"
#include "platform/filesystem.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return home;
    // No HOME (a service, a stripped environment): the password database still knows it.
    struct passwd entry;
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] == '/')
        return found->pw_dir;
    return {};
}

// mkdir -p with the mode the user's state folders get.
void MakeFolders(const std::string& folder)
{
    if (folder.empty() || folder == "/")
        return;
    struct stat st;
    if (stat(folder.c_str(), &st) == 0) {
        if (!S_ISDIR(st.st_mode))
            throw EFileError(FileErrorMessage("フォルダを作れません", folder, ENOTDIR));
        return;
    }
    MakeFolders(FolderOf(folder));
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw EFileError(FileErrorMessage("フォルダを作れません", folder, errno));
}

// Makes a rename or removal inside folder survive a power cut.
bool SyncFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

} // namespace

std::string ProgramStateFolder()
{
    // Relative values are to be ignored, as the base directory rules say.
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && state[0] == '/')
        return std::string(state) + "/pelkorin";
    const std::string home = HomeFolder();
    if (home.empty())
        return {};
    return home + (home.back() == '/' ? "" : "/") + ".local/state/pelkorin";
}

void WriteFileDurably(const std::string& path, const std::string& bytes)
{
    const std::string folder = FolderOf(path);
    MakeFolders(folder);
    std::string temp = path + ".tmpXXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        throw EFileError(FileErrorMessage("ファイルを書き込めません", path, errno));
    int error = 0;
    std::size_t done = 0;
    while (error == 0 && done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR)
            error = errno;
        else if (n > 0)
            done += static_cast<std::size_t>(n);
    }
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(temp.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temp.c_str());
        throw EFileError(FileErrorMessage("ファイルを書き込めません", path, error));
    }
    if (!SyncFolder(folder))
        throw EFileError(FileErrorMessage("ファイルを書き込めません", folder, errno));
}

std::optional<std::string> ReadFileIfPresent(const std::string& path, std::size_t maxBytes)
{
    try {
        return ReadWholeFile(path, maxBytes);
    } catch (const EFileError&) {
        return std::nullopt;
    }
}

bool RemoveFileDurably(const std::string& path)
{
    if (unlink(path.c_str()) != 0)
        return errno == ENOENT;
    SyncFolder(FolderOf(path));
    return true;
}

bool OverwriteFileInPlace(const std::string& path, const std::string& bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR)
            ok = false;
        else if (n > 0)
            done += static_cast<std::size_t>(n);
    }
    ok = ok && fsync(fd) == 0;
    return close(fd) == 0 && ok;
}

void RemoveLeftoverTemporaries(const std::string& path)
{
    const std::string folder = FolderOf(path);
    const std::string base = path.substr(path.rfind('/') + 1) + ".tmp";
    DIR* d = opendir(folder.c_str());
    if (!d)
        return;
    std::vector<std::string> leftovers;
    while (const dirent* e = readdir(d)) {
        // mkstemp's six characters after the base.
        if (std::strlen(e->d_name) == base.size() + 6 && std::strncmp(e->d_name, base.c_str(), base.size()) == 0)
            leftovers.emplace_back(e->d_name);
    }
    for (const std::string& name : leftovers)
        unlinkat(dirfd(d), name.c_str(), 0);
    closedir(d);
}

StateLock::StateLock(const std::string& path, bool makeFolders)
{
    if (makeFolders) {
        try {
            MakeFolders(FolderOf(path));
        } catch (const EFileError&) {
            return;
        }
    }
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    // A lock file someone made read-only still locks: flock needs no right to write.
    if (fd_ < 0)
        fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd_ < 0)
        return;
    while (flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            close(fd_);
            fd_ = -1;
            return;
        }
    }
}

StateLock::~StateLock()
{
    // Closing the file ends the lock.
    if (fd_ >= 0)
        close(fd_);
}

} // namespace platform
