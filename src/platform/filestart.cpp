#include "platform/filestart.h"

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
}

FileStartReader::~FileStartReader()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool FileStartReader::ReadUpTo(std::string& bytes, std::size_t upTo)
{
    if (fd_ < 0)
        return false;
    while (bytes.size() < upTo) {
        const std::size_t had = bytes.size();
        bytes.resize(upTo);
        const ssize_t n = read(fd_, bytes.data() + had, upTo - had);
        if (n <= 0) {
            bytes.resize(had);
            if (n < 0 && errno == EINTR)
                continue;
            return n == 0;
        }
        bytes.resize(had + static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace platform
