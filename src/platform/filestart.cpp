#include "platform/filestart.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

FileStartReader::FileStartReader(const std::string& path)
{
    // O_NONBLOCK: opening a named pipe nobody writes to would wait here otherwise.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    size_ = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
}

FileStartReader::~FileStartReader()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::size_t FileStartReader::ReadUpTo(char* buffer, std::size_t have, std::size_t upTo)
{
    if (fd_ < 0)
        return have;
    upTo = std::min(upTo, size_);
    while (have < upTo) {
        const ssize_t n = read(fd_, buffer + have, upTo - have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        have += static_cast<std::size_t>(n);
    }
    return have;
}

} // namespace platform
