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

    // Appends the file's next bytes to bytes until it holds upTo bytes or the file ends.
    // False on an invalid reader or a read error; what was read stays in bytes.
    bool ReadUpTo(std::string& bytes, std::size_t upTo);

private:
    int fd_ = -1;
};

} // namespace platform
