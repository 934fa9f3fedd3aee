#include "platform/statefile.h"

#include "base/errors.h"
#include "platform/filesystem.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
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

namespace {
constexpr const char* kCantWrite = "ファイルを書き込めません";

// The file a chain of symbolic links ends at (the path itself when it is no link, or when
// nothing is there yet); a link to a link is followed as open() would.
std::string FinalTarget(const std::string& path)
{
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return target;
        std::string link(4096, '\0');
        const ssize_t n = readlink(target.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<std::size_t>(n) >= link.size())
            return target;
        link.resize(static_cast<std::size_t>(n));
        const std::size_t slash = target.rfind('/');
        target = link[0] == '/' || slash == std::string::npos ? link : target.substr(0, slash + 1) + link;
    }
    return target; // still a link: refused below as no regular file
}

[[noreturn]] void RefuseNonRegular(const std::string& path)
{
    throw EFileError(std::string(kCantWrite) + ": " + path);
}

// The one writer of the program's own files; returns the file written (the links' target).
std::string WriteOwnFile(const std::string& path, const std::string& bytes, mode_t newMode)
{
    const std::string target = FinalTarget(path);
    mode_t mode = newMode;
    struct stat st;
    if (lstat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            RefuseNonRegular(path);
        mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        throw EFileError(FileErrorMessage(kCantWrite, path, errno));
    }
    std::string temp = target + ".tmpXXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        throw EFileError(FileErrorMessage(kCantWrite, path, errno));
    int error = 0;
    std::size_t done = 0;
    while (error == 0 && done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR)
            error = errno;
        else if (n > 0)
            done += static_cast<std::size_t>(n);
    }
    if (error == 0 && (fchmod(fd, mode) != 0 || fsync(fd) != 0))
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    // Looked at again just before: what took the target's place meanwhile is not replaced.
    if (error == 0 && lstat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        unlink(temp.c_str());
        RefuseNonRegular(path);
    }
    if (error == 0 && rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temp.c_str());
        throw EFileError(FileErrorMessage(kCantWrite, path, error));
    }
    return target;
}
} // namespace

OwnFileKind KindOfOwnFile(const std::string& path)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        // A file where a folder of the path should be: nothing there either.
        return errno == ENOENT || errno == ENOTDIR ? OwnFileKind::Missing : OwnFileKind::Other;
    return S_ISREG(st.st_mode) ? OwnFileKind::Regular : OwnFileKind::Other;
}

void CheckOwnFileWritable(const std::string& path)
{
    if (KindOfOwnFile(path) == OwnFileKind::Other)
        RefuseNonRegular(path);
}

void WriteFileReplacing(const std::string& path, const std::string& bytes)
{
    WriteOwnFile(path, bytes, 0644);
}

void WriteFileDurably(const std::string& path, const std::string& bytes)
{
    MakeFolders(FolderOf(path));
    const std::string written = WriteOwnFile(path, bytes, 0600);
    const std::string folder = FolderOf(written);
    if (!SyncFolder(folder))
        throw EFileError(FileErrorMessage(kCantWrite, folder, errno));
}

std::optional<std::string> ReadFileIfPresent(const std::string& path, std::size_t maxBytes)
{
    try {
        return ReadWholeFile(path, maxBytes);
    } catch (const EFileError&) {
        return std::nullopt;
    }
}

std::optional<std::string> ReadFileTail(const std::string& path, std::size_t n)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::string> tail;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::size_t>(st.st_size) >= n) {
        std::string bytes(n, '\0');
        if (pread(fd, bytes.data(), n, st.st_size - static_cast<off_t>(n)) == static_cast<ssize_t>(n))
            tail = std::move(bytes);
    }
    close(fd);
    return tail;
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* d = opendir(folder.c_str());
    if (!d)
        return names;
    while (const dirent* e = readdir(d))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.emplace_back(e->d_name);
    closedir(d);
    return names;
}

bool SetMark(const std::string& path, bool present)
{
    if (!present)
        return unlink(path.c_str()) == 0 || errno == ENOENT;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600);
    if (fd < 0)
        return false;
    struct stat st;
    const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    close(fd);
    return regular;
}

bool RemoveFileDurably(const std::string& path)
{
    if (unlink(path.c_str()) != 0)
        return errno == ENOENT;
    SyncFolder(FolderOf(path));
    return true;
}

bool ReplaceFileDurably(const std::string& from, const std::string& to)
{
    if (rename(from.c_str(), to.c_str()) != 0)
        return false;
    SyncFolder(FolderOf(to));
    return true;
}

bool OverwriteFileInPlace(const std::string& path, const std::string& bytes)
{
    // Never blocks on a named pipe, and writes nothing but a regular file.
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ftruncate(fd, 0) != 0) {
        close(fd);
        return false;
    }
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

namespace {
struct HeldLock {
    int Fd;
    int Count;
};
// The locks this thread holds, by path: taken again, a lock is counted, not locked twice
// (a second flock of the same file from this process would wait for itself).
thread_local std::map<std::string, HeldLock> heldLocks;
} // namespace

StateLock::StateLock(const std::string& path, bool makeFolders, std::chrono::milliseconds wait) : path_(path)
{
    if (const auto it = heldLocks.find(path); it != heldLocks.end()) {
        ++it->second.Count;
        held_ = true;
        return;
    }
    if (makeFolders) {
        try {
            MakeFolders(FolderOf(path));
        } catch (const EFileError&) {
            return;
        }
    }
    // O_NONBLOCK: a named pipe in the lock's place must not stall the window; it is no lock.
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600);
    // A lock file someone made read-only still locks: flock needs no right to write.
    if (fd < 0)
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            busy_ = errno == EWOULDBLOCK;
            close(fd);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    heldLocks.emplace(path, HeldLock{fd, 1});
    held_ = true;
}

StateLock::~StateLock()
{
    if (!held_)
        return;
    // Closing the file ends the lock.
    const auto it = heldLocks.find(path_);
    if (it != heldLocks.end() && --it->second.Count == 0) {
        close(it->second.Fd);
        heldLocks.erase(it);
    }
}

} // namespace platform
