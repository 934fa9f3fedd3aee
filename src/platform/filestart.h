#pragma once
// Opening and reading files that may be anything a folder can hold under a photo's name.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Opens path for reading only when it is a regular file (symbolic links followed). What the
// name stands for is looked at first, so a named pipe, a device or a folder is never opened;
// the opened file must be the very one looked at, so nothing put in its place meanwhile is
// read. Returns the descriptor, or -1 with error set (EISDIR for a folder, ENXIO for anything
// else that is no regular file, ESTALE when it changed between the look and the open), and
// the file's size when asked for.
int OpenRegularFile(const std::string& path, int& error, std::size_t* size = nullptr);

// What a look at a name found: the file it stands for and whether the name is a link.
struct LookedAt {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    bool Link = false;
};
// OpenRegularFile for a caller that has looked already (a regular file, seen as `seen`).
int OpenLookedAtFile(const std::string& path, const LookedAt& seen, int& error,
                     std::size_t* size = nullptr);

// A regular file opened for reading from its start (OpenRegularFile); anything else gives an
// invalid reader and is never read.
class FileStartReader {
public:
    explicit FileStartReader(const std::string& path);
    FileStartReader(const std::string& path, const LookedAt& seen);
    ~FileStartReader();
    FileStartReader(const FileStartReader&) = delete;
    FileStartReader& operator=(const FileStartReader&) = delete;

    bool valid() const { return fd_ >= 0; }

    // Reads the file's bytes from offset `have` into buffer[have, upTo), stopping early at
    // the file's end (its size when opened, so a short file takes no extra read to find its
    // end). Returns how many bytes of buffer are filled now; have itself on an invalid reader
    // or a read error.
    std::size_t ReadUpTo(char* buffer, std::size_t have, std::size_t upTo);
    // The bytes that follow those read so far, at most count of them: 0 at the file's end,
    // on an invalid reader or a read error. A decoder can so take a file piece by piece.
    std::size_t ReadNext(char* buffer, std::size_t count);
    // The whole file as it was when opened, mapped read-only: pages are read only when
    // touched, so a huge file takes no memory for what is not looked at. Empty on an invalid
    // reader, an empty file or a failed mapping. Valid while the reader lives. Pages that
    // another program cuts off meanwhile read as zeros.
    std::string_view MapWhole();

    // The file's size when it was opened.
    uint64_t size() const { return size_; }
    // Reads count bytes from offset on into buffer, stopping early at that size. Returns how
    // many were read: fewer at the end, on a read error or on an invalid reader.
    std::size_t ReadAt(uint64_t offset, char* buffer, std::size_t count);

private:
    int fd_ = -1;
    std::size_t size_ = 0;
    void* map_ = nullptr;
};

} // namespace platform
