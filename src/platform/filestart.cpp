#include "platform/filestart.h"

#include "platform/filestamp.h"
#include "platform/mappingguard.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

int OpenRegularFile(const std::string& path, int& error, std::size_t* size)
{
    // One lstat tells most names: a plain file needs no second look, and is then opened with
    // O_NOFOLLOW so that a link put in its place is refused.
    const std::optional<FileStamp> seen = StampOfFile(path);
    if (!seen) {
        error = errno;
        return -1;
    }
    if (!seen->Regular) {
        error = seen->Folder ? EISDIR : ENXIO;
        return -1;
    }
    return OpenLookedAtFile(path, {seen->Device, seen->Inode, seen->Link}, error, size);
}

int OpenLookedAtFile(const std::string& path, const LookedAt& seen, int& error, std::size_t* size)
{
    // O_NONBLOCK and O_NOCTTY still matter: something else may stand there by now.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (seen.Link ? 0 : O_NOFOLLOW));
    if (fd < 0) {
        error = errno == ELOOP ? ESTALE : errno;
        return -1;
    }
    struct stat opened;
    if (fstat(fd, &opened) != 0 || static_cast<uint64_t>(opened.st_dev) != seen.Device ||
        static_cast<uint64_t>(opened.st_ino) != seen.Inode || !S_ISREG(opened.st_mode)) {
        error = ESTALE;
        ::close(fd);
        return -1;
    }
    if (size)
        *size = opened.st_size > 0 ? static_cast<std::size_t>(opened.st_size) : 0;
    return fd;
}

FileStartReader::FileStartReader(const std::string& path)
{
    int error = 0;
    fd_ = OpenRegularFile(path, error, &size_);
}

FileStartReader::FileStartReader(const std::string& path, const LookedAt& seen)
{
    int error = 0;
    fd_ = OpenLookedAtFile(path, seen, error, &size_);
}

FileStartReader::~FileStartReader()
{
    if (map_) {
        UnguardMapping(map_);
        munmap(map_, size_);
    }
    if (fd_ >= 0)
        ::close(fd_);
}

namespace {

// Fills buffer[have, upTo) through read(at, count, done), which returns what read(2) does,
// stopping early at the end or on an error; how much of buffer is filled.
template <typename Read>
std::size_t ReadFully(char* buffer, std::size_t have, std::size_t upTo, Read read)
{
    while (have < upTo) {
        const ssize_t n = read(buffer + have, upTo - have, have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        have += static_cast<std::size_t>(n);
    }
    return have;
}

} // namespace

std::size_t FileStartReader::ReadUpTo(char* buffer, std::size_t have, std::size_t upTo)
{
    if (fd_ < 0)
        return have;
    return ReadFully(buffer, have, std::min(upTo, size_),
                     [this](char* at, std::size_t count, std::size_t) { return ::read(fd_, at, count); });
}

std::size_t FileStartReader::ReadAt(uint64_t offset, char* buffer, std::size_t count)
{
    if (fd_ < 0 || offset >= size_)
        return 0;
    count = static_cast<std::size_t>(std::min<uint64_t>(count, size_ - offset));
    return ReadFully(buffer, 0, count, [this, offset](char* at, std::size_t n, std::size_t done) {
        return pread(fd_, at, n, static_cast<off_t>(offset + done));
    });
}

std::size_t FileStartReader::ReadNext(char* buffer, std::size_t count)
{
    if (fd_ < 0)
        return 0;
    for (;;) {
        const ssize_t n = read(fd_, buffer, count);
        if (n < 0 && errno == EINTR)
            continue;
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

std::string_view FileStartReader::MapWhole()
{
    if (!map_ && fd_ >= 0 && size_ > 0) {
        void* at = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd_, 0);
        map_ = at == MAP_FAILED ? nullptr : at;
        if (map_ && !GuardMapping(map_, size_)) {
            munmap(map_, size_);
            map_ = nullptr;
        }
    }
    return map_ ? std::string_view(static_cast<const char*>(map_), size_) : std::string_view();
}

} // namespace platform
