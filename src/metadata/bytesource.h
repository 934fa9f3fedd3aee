#pragma once
// The bytes a format reader may ask for: a file opened safely, or bytes in memory (tests and
// fuzzing). Readers ask for the parts that hold metadata and nothing else.
#include "platform/filestart.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace metadata {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Up to count bytes from offset into buffer; how many were read (fewer only at the end or
    // on a read error).
    virtual std::size_t ReadAt(uint64_t offset, char* buffer, std::size_t count) = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    uint64_t Size() const override { return bytes_.size(); }
    std::size_t ReadAt(uint64_t offset, char* buffer, std::size_t count) override
    {
        if (offset >= bytes_.size() || count == 0)
            return 0;
        count = std::min<std::size_t>(count, bytes_.size() - offset);
        std::memcpy(buffer, bytes_.data() + offset, count);
        return count;
    }

private:
    std::string_view bytes_;
};

class FileSource final : public ByteSource {
public:
    explicit FileSource(platform::FileStartReader& reader) : reader_(reader) {}
    uint64_t Size() const override { return reader_.size(); }
    std::size_t ReadAt(uint64_t offset, char* buffer, std::size_t count) override
    {
        return reader_.ReadAt(offset, buffer, count);
    }

private:
    platform::FileStartReader& reader_;
};

// A part of another source, seen as a source of its own (a JPEG inside a RAF file).
class PartSource final : public ByteSource {
public:
    PartSource(ByteSource& whole, uint64_t offset, uint64_t size)
        : whole_(whole), offset_(std::min(offset, whole.Size())),
          size_(std::min(size, whole.Size() - offset_)) {}
    uint64_t Size() const override { return size_; }
    std::size_t ReadAt(uint64_t offset, char* buffer, std::size_t count) override
    {
        if (offset >= size_)
            return 0;
        return whole_.ReadAt(offset_ + offset, buffer, std::min<uint64_t>(count, size_ - offset));
    }

private:
    ByteSource& whole_;
    uint64_t offset_, size_;
};

// A source whose first bytes were read already: what lies within them costs no second read.
class HeadSource final : public ByteSource {
public:
    HeadSource(ByteSource& whole, std::string_view head) : whole_(whole), head_(head) {}
    uint64_t Size() const override { return whole_.Size(); }
    std::size_t ReadAt(uint64_t offset, char* buffer, std::size_t count) override
    {
        if (offset >= head_.size() || count == 0)
            return whole_.ReadAt(offset, buffer, count);
        const std::size_t here = std::min<std::size_t>(count, head_.size() - offset);
        std::memcpy(buffer, head_.data() + offset, here);
        if (here == count || head_.size() == whole_.Size())
            return here;
        return here + whole_.ReadAt(offset + here, buffer + here, count - here);
    }

private:
    ByteSource& whole_;
    std::string_view head_;
};

// Reads of a few bytes at a time (box headers) served from a window of the file read at once.
class WindowSource final : public ByteSource {
public:
    WindowSource(ByteSource& whole, std::vector<char>& window) : whole_(whole), window_(window) {}
    uint64_t Size() const override { return whole_.Size(); }
    std::size_t ReadAt(uint64_t offset, char* buffer, std::size_t count) override
    {
        if (count >= window_.size())
            return whole_.ReadAt(offset, buffer, count);
        if (offset < start_ || offset + count > start_ + filled_) {
            start_ = offset;
            filled_ = whole_.ReadAt(offset, window_.data(), window_.size());
        }
        const std::size_t here = offset < start_ + filled_ ? std::min<std::size_t>(count, start_ + filled_ - offset) : 0;
        if (here > 0)
            std::memcpy(buffer, window_.data() + (offset - start_), here);
        return here;
    }

private:
    ByteSource& whole_;
    std::vector<char>& window_;
    uint64_t start_ = 0;
    std::size_t filled_ = 0;
};

} // namespace metadata
