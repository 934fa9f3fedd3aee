#pragma once
// Reading the first bytes of a file that may be anything a folder can hold under a photo's name.
#include <cstddef>
#include <string>

namespace platform {

// A regular file opened for reading from its start. The name is opened without blocking and
// checked before any read, so a named pipe, a device or a folder under it gives an invalid
// reader and is never read.
class FileStartReader {
public:
    explicit FileStartReader(const std::string& path);
    ~FileStartReader();
    FileStartReader(const FileStartReader&) = delete;
    FileStartReader& operator=(const FileStartReader&) = delete;

    bool valid() const { return fd_ >= 0; }

    // Reads the file's bytes from offset `have` into buffer[have, upTo), stopping early at
    // the file's end (its size when opened, so a short file takes no extra read to find its
    // end). Returns how many bytes of buffer are filled now; have itself on an invalid reader
    // or a read error.
    std::size_t ReadUpTo(char* buffer, std::size_t have, std::size_t upTo);

private:
    int fd_ = -1;
    std::size_t size_ = 0;
};

} // namespace platform
