// JPEG, TIFF and the raw formats, PNG and WebP: each format's EXIF block is located here and
// only that block is decoded (its standard tags straight, the rest by Exiv2). Exiv2's
// whole-file read would parse every XMP packet and every segment, tens of times slower than
// reading the file (bench/formats_bench.cpp).
#include "metadata/exifblock.h"
#include "metadata/formats.h"
#include "metadata/tifftags.h"

#include <vector>

namespace metadata {

namespace {

constexpr std::size_t kFirstJpegRead = 4 * 1024;
// The raw formats keep their EXIF directories in the first bytes: the first read (already
// made) mostly holds them; directories beyond it take a longer read, and a file whose
// longer read holds no time counts as without one.
constexpr std::size_t kTiffFirstRead = 4 * 1024;
constexpr std::size_t kTiffMoreRead = 64 * 1024;
constexpr std::size_t kTiffLongRead = 1024 * 1024;
// No metadata block of a picture file is larger than this: a larger size is a damaged file.
constexpr uint64_t kLargestBlock = 16 * 1024 * 1024;
// No real file has more chunks before its metadata than this: past it, a file of tiny chunks
// would take minutes to walk.
constexpr int kMostChunks = 100000;

uint32_t Be32(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return uint32_t{u[0]} << 24 | uint32_t{u[1]} << 16 | uint32_t{u[2]} << 8 | u[3];
}

uint32_t Le32(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return uint32_t{u[3]} << 24 | uint32_t{u[2]} << 16 | uint32_t{u[1]} << 8 | u[0];
}

// One buffer per thread: a fresh one per file costs as much as the read itself.
std::vector<char>& Buffer(std::size_t size)
{
    thread_local std::vector<char> buffer;
    if (buffer.size() < size)
        buffer.resize(size);
    return buffer;
}

// The block of `size` bytes at `offset` decoded as a TIFF structure; nothing when it is not
// wholly in the file.
FileFacts TiffBlockAt(ByteSource& source, uint64_t offset, uint64_t size)
{
    if (size > kLargestBlock || size < 8)
        return {};
    std::vector<char>& buffer = Buffer(size);
    if (source.ReadAt(offset, buffer.data(), size) != size)
        return {};
    const std::size_t skip = std::string_view(buffer.data(), 6) == std::string_view("Exif\0\0", 6) ? 6 : 0;
    return FactsOfTiffBytes(buffer.data() + skip, size - skip);
}

} // namespace

FileFacts FactsOfJpeg(ByteSource& source)
{
    // The EXIF block's directories and texts come before its thumbnail: a first read of 4 KiB
    // mostly holds them. Else the block, or segments before it, take reads to its end.
    std::vector<char>& buffer = Buffer(kCaptureBytesLimit);
    std::size_t have = 0;
    std::size_t want = kFirstJpegRead;
    ExifPlace place;
    for (;;) {
        const std::size_t got = source.ReadAt(have, buffer.data() + have, want - have);
        have += got;
        place = LocateExif(std::string_view(buffer.data(), have));
        if (got == 0 || have >= source.Size())
            break; // at the file's end only a whole block counts
        if (place.Block.empty() && place.Begun.size() > 6) {
            const std::optional<QuickTags> quick = ReadQuickTags(place.Begun.data() + 6, place.Begun.size() - 6);
            if (quick && quick->Whole && !(quick->MakerNote && quick->Facts.Taken.Lens.empty()))
                return quick->Facts;
        }
        const std::size_t more = std::min(place.Wanted, kCaptureBytesLimit);
        if (more <= have)
            break;
        want = more;
    }
    if (place.Block.size() <= 6)
        return {};
    return FactsOfTiffBytes(place.Block.data() + 6, place.Block.size() - 6);
}

FileFacts FactsOfTiff(ByteSource& source)
{
    for (const std::size_t read : {kTiffFirstRead, kTiffMoreRead, kTiffLongRead}) {
        std::vector<char>& buffer = Buffer(read);
        const std::size_t have = source.ReadAt(0, buffer.data(), read);
        if (have < 8)
            return {};
        const std::optional<QuickTags> quick = ReadQuickTags(buffer.data(), have);
        if (!quick)
            return {};
        if (!quick->Whole && have == read && read != kTiffLongRead)
            continue;
        FileFacts facts = FactsOfTiffBytes(buffer.data(), have);
        if (!facts.Time && quick->JpegSize > 0) {
            // An RW2 file keeps its times in the EXIF block of the JPEG it holds.
            PartSource jpeg(source, quick->JpegAt, quick->JpegSize);
            const FileFacts inner = FactsOfJpeg(jpeg);
            facts.Time = inner.Time;
            if (facts.Taken.Lens.empty())
                facts.Taken.Lens = inner.Taken.Lens;
        }
        return facts;
    }
    return {};
}

FileFacts FactsOfRaf(ByteSource& source)
{
    // The header gives where the camera's JPEG lies; its EXIF block holds the facts.
    char place[8];
    if (source.ReadAt(84, place, 8) != 8)
        return {};
    PartSource jpeg(source, Be32(place), Be32(place + 4));
    return FactsOfJpeg(jpeg);
}

FileFacts FactsOfMrw(ByteSource& source)
{
    char header[8];
    if (source.ReadAt(0, header, 8) != 8)
        return {};
    const uint64_t end = std::min<uint64_t>(8 + uint64_t{Be32(header + 4)}, source.Size());
    for (uint64_t at = 8, step = 0; at + 8 <= end && step < kMostChunks; ++step) {
        if (source.ReadAt(at, header, 8) != 8)
            return {};
        const uint64_t size = Be32(header + 4);
        if (std::string_view(header, 4) == std::string_view("\0TTW", 4))
            return TiffBlockAt(source, at + 8, std::min(size, end - (at + 8)));
        at += 8 + size;
    }
    return {};
}

FileFacts FactsOfPng(ByteSource& source)
{
    char chunk[8];
    for (uint64_t at = 8, step = 0; step < kMostChunks && source.ReadAt(at, chunk, 8) == 8; ++step) {
        const uint64_t size = Be32(chunk);
        const std::string_view type(chunk + 4, 4);
        if (type == "eXIf")
            return TiffBlockAt(source, at + 8, size);
        if (type == "IEND")
            break;
        at += 12 + size; // length, type, data and check sum
    }
    return {};
}

FileFacts FactsOfWebp(ByteSource& source)
{
    char chunk[8];
    for (uint64_t at = 12, step = 0; step < kMostChunks && source.ReadAt(at, chunk, 8) == 8; ++step) {
        const uint64_t size = Le32(chunk + 4);
        if (std::string_view(chunk, 4) == "EXIF")
            return TiffBlockAt(source, at + 8, size);
        at += 8 + size + (size & 1); // chunks are padded to an even length
    }
    return {};
}

} // namespace metadata
