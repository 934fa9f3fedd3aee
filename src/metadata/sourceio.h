#pragma once
// A ByteSource as Exiv2's input, read only where Exiv2 asks (it never maps the whole file).
#include "metadata/bytesource.h"
#include "metadata/exiv2use.h"

namespace metadata {

class SourceIo final : public Exiv2::BasicIo {
public:
    explicit SourceIo(ByteSource& source) : source_(source) {}

    int open() override { position_ = 0; return 0; }
    int close() override { return 0; }
    long write(const Exiv2::byte*, long) override { return 0; }
    long write(Exiv2::BasicIo&) override { return 0; }
    int putb(Exiv2::byte) override { return EOF; }
    Exiv2::DataBuf read(long count) override;
    long read(Exiv2::byte* buffer, long count) override;
    int getb() override;
    void transfer(Exiv2::BasicIo&) override { throw Exiv2::Error(Exiv2::kerFunctionNotSupported); }
    int seek(int64_t offset, Position from) override;
    Exiv2::byte* mmap(bool) override { throw Exiv2::Error(Exiv2::kerFunctionNotSupported); }
    int munmap() override { return 0; }
    long tell() const override { return static_cast<long>(position_); }
    size_t size() const override { return static_cast<size_t>(source_.Size()); }
    bool isopen() const override { return true; }
    int error() const override { return 0; }
    bool eof() const override { return eof_; }
    std::string path() const override { return {}; }

private:
    ByteSource& source_;
    uint64_t position_ = 0;
    bool eof_ = false;
};

} // namespace metadata
