#include "metadata/sourceio.h"

namespace metadata {

Exiv2::DataBuf SourceIo::read(long count)
{
    // A count beyond what is left is a damaged size: no buffer of it is made.
    const uint64_t left = position_ < source_.Size() ? source_.Size() - position_ : 0;
    Exiv2::DataBuf buffer(static_cast<long>(std::min<uint64_t>(count > 0 ? count : 0, left)));
    const long got = read(buffer.pData_, buffer.size_);
    if (got < buffer.size_)
        buffer.size_ = got;
    return buffer;
}

long SourceIo::read(Exiv2::byte* buffer, long count)
{
    if (count <= 0)
        return 0;
    const std::size_t got = source_.ReadAt(position_, reinterpret_cast<char*>(buffer), static_cast<std::size_t>(count));
    position_ += got;
    eof_ = got < static_cast<std::size_t>(count);
    return static_cast<long>(got);
}

int SourceIo::getb()
{
    Exiv2::byte b = 0;
    return read(&b, 1) == 1 ? b : EOF;
}

int SourceIo::seek(int64_t offset, Position from)
{
    const int64_t base = from == beg ? 0 : from == cur ? static_cast<int64_t>(position_)
                                                       : static_cast<int64_t>(source_.Size());
    const int64_t to = base + offset;
    if (offset > 0 && to < base) // wrapped around
        return 1;
    if (to < 0 || static_cast<uint64_t>(to) > source_.Size())
        return 1;
    position_ = static_cast<uint64_t>(to);
    eof_ = false;
    return 0;
}

} // namespace metadata
