// ISO base media files: still pictures (CR3, HEIC, HEIF, AVIF) through Exiv2, with libheif
// finding the EXIF item where Exiv2 can't follow the item locations; videos by their movie
// header, walked here so that a header cut short gives nothing rather than a made-up time.
#include "metadata/formats.h"
#include "metadata/sourceio.h"
#include "metadata/tifftags.h"
#include "platform/localclock.h"

#include <libheif/heif.h>

#include <climits>
#include <memory>
#include <vector>

namespace metadata {

namespace {

uint64_t Be(const char* p, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | static_cast<unsigned char>(p[i]);
    return value;
}

struct Box {
    uint64_t Payload = 0, End = 0;
    std::string Type;
};

// The box at `at`, wholly before `limit`; nothing for a box cut short or of a broken size.
std::optional<Box> BoxAt(ByteSource& source, uint64_t at, uint64_t limit)
{
    char header[16];
    if (at + 8 > limit || source.ReadAt(at, header, 8) != 8)
        return std::nullopt;
    uint64_t size = Be(header, 4);
    uint64_t payload = at + 8;
    if (size == 1) {
        if (at + 16 > limit || source.ReadAt(at + 8, header + 8, 8) != 8)
            return std::nullopt;
        size = Be(header + 8, 8);
        payload = at + 16;
    } else if (size == 0) {
        size = limit - at; // to the end of what holds it
    }
    if (size < payload - at || size > limit - at)
        return std::nullopt;
    return Box{payload, at + size, std::string(header + 4, 4)};
}

std::optional<Box> FindBox(ByteSource& source, uint64_t from, uint64_t to, std::string_view type)
{
    // A real file has a few dozen boxes on each level; a file of tiny ones would take minutes.
    for (uint64_t at = from, step = 0; at < to && step < 100000; ++step) {
        const std::optional<Box> box = BoxAt(source, at, to);
        if (!box)
            return std::nullopt;
        if (box->Type == type)
            return box;
        at = box->End;
    }
    return std::nullopt;
}

bool IsStillBrand(std::string_view brand)
{
    for (std::string_view still : {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "mif2", "msf1",
                                   "avif", "avis", "crx "})
        if (brand == still)
            return true;
    return false;
}

FileFacts FactsThroughExiv2(ByteSource& source)
{
    // Exiv2 0.27 takes its input as a std::auto_ptr, deprecated by C++20.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    Exiv2::BasicIo::AutoPtr io(new SourceIo(source));
    Exiv2::BmffImage image(io, false);
#pragma GCC diagnostic pop
    image.readMetadata();
    return FactsFromExif(image.exifData());
}

// libheif's reader over the source.
struct HeifReading {
    ByteSource& Source;
    int64_t Position = 0;
};

heif_reader HeifReaderOf()
{
    heif_reader reader{};
    reader.reader_api_version = 1;
    reader.get_position = [](void* self) { return static_cast<HeifReading*>(self)->Position; };
    reader.read = [](void* data, size_t size, void* self) {
        auto* r = static_cast<HeifReading*>(self);
        if (r->Position < 0 || r->Source.ReadAt(static_cast<uint64_t>(r->Position), static_cast<char*>(data), size) != size)
            return -1;
        r->Position += static_cast<int64_t>(size);
        return 0;
    };
    reader.seek = [](int64_t position, void* self) {
        static_cast<HeifReading*>(self)->Position = position;
        return 0;
    };
    reader.wait_for_file_size = [](int64_t size, void* self) {
        return size >= 0 && static_cast<uint64_t>(size) <= static_cast<HeifReading*>(self)->Source.Size()
                   ? heif_reader_grow_status_size_reached
                   : heif_reader_grow_status_size_beyond_eof;
    };
    return reader;
}

FileFacts FactsThroughLibheif(ByteSource& source)
{
    const std::unique_ptr<heif_context, decltype(&heif_context_free)> context(heif_context_alloc(), heif_context_free);
    if (!context)
        return {};
    HeifReading reading{source};
    const heif_reader reader = HeifReaderOf();
    if (heif_context_read_from_reader(context.get(), &reader, &reading, nullptr).code != heif_error_Ok)
        return {};
    heif_image_handle* primary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok)
        return {};
    const std::unique_ptr<heif_image_handle, decltype(&heif_image_handle_release)> handle(primary, heif_image_handle_release);
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(handle.get(), "Exif", &id, 1) < 1)
        return {};
    const std::size_t size = heif_image_handle_get_metadata_size(handle.get(), id);
    if (size < 4 || size > 16 * 1024 * 1024)
        return {};
    std::vector<char> block(size);
    if (heif_image_handle_get_metadata(handle.get(), id, block.data()).code != heif_error_Ok)
        return {};
    // The item begins with the offset of its TIFF header, counted after those four bytes.
    const uint64_t header = 4 + Be(block.data(), 4);
    if (header >= size)
        return {};
    return FactsOfTiffBytes(block.data() + header, size - header);
}

// Canon's box in the movie box holds the image directory (CMT1) and the EXIF directory
// (CMT2) as TIFF structures of their own: read straight, as a JPEG's block is. Nothing when
// they are not there whole; Exiv2 then reads the file.
std::optional<FileFacts> CanonBoxFacts(ByteSource& source)
{
    static constexpr std::string_view kCanon("\x85\xc0\xb6\x87\x82\x0f\x11\xe0\x81\x11\xf4\xce\x46\x2b\x6a\x48", 16);
    const std::optional<Box> movie = FindBox(source, 0, source.Size(), "moov");
    std::optional<Box> canon = movie ? FindBox(source, movie->Payload, movie->End, "uuid") : std::nullopt;
    char id[16];
    while (canon && (source.ReadAt(canon->Payload, id, 16) != 16 || std::string_view(id, 16) != kCanon)) {
        canon = FindBox(source, canon->End, movie->End, "uuid");
    }
    if (!canon)
        return std::nullopt;
    const std::optional<Box> image = FindBox(source, canon->Payload + 16, canon->End, "CMT1");
    const std::optional<Box> exif = FindBox(source, canon->Payload + 16, canon->End, "CMT2");
    std::vector<char> bytes;
    const auto quick = [&](const std::optional<Box>& box, bool exifFirst) -> std::optional<QuickTags> {
        if (!box || box->End - box->Payload > 1024 * 1024)
            return std::nullopt;
        bytes.resize(box->End - box->Payload);
        if (source.ReadAt(box->Payload, bytes.data(), bytes.size()) != bytes.size())
            return std::nullopt;
        return ReadQuickTags(bytes.data(), bytes.size(), exifFirst);
    };
    std::optional<QuickTags> first = quick(image, false);
    std::optional<QuickTags> second = quick(exif, true);
    if (!first || !second || !first->Whole || !second->Whole || second->Facts.Taken.Lens.empty())
        return std::nullopt;
    FileFacts facts = second->Facts;
    facts.Taken.Make = first->Facts.Taken.Make;
    facts.Taken.Model = first->Facts.Taken.Model;
    if (!facts.Time)
        facts.Time = first->Facts.Time;
    return facts;
}

// Bytes of a box read at once, for the item tables of a HEIF file.
std::optional<std::vector<char>> Payload(ByteSource& source, const Box& box, uint64_t skip = 0)
{
    if (box.End - box.Payload > 1024 * 1024 || skip > box.End - box.Payload)
        return std::nullopt;
    std::vector<char> bytes(box.End - box.Payload - skip);
    if (source.ReadAt(box.Payload + skip, bytes.data(), bytes.size()) != bytes.size())
        return std::nullopt;
    return bytes;
}

// Reads numbers of 0, 2, 4 or 8 bytes from a box's bytes, failing once past their end.
struct Numbers {
    const std::vector<char>& Bytes;
    std::size_t At = 0;
    bool Past = false;
    uint64_t Take(unsigned size)
    {
        if (size > 8 || Bytes.size() - std::min(At, Bytes.size()) < size) {
            Past = true;
            return 0;
        }
        const uint64_t value = Be(Bytes.data() + At, static_cast<int>(size));
        At += size;
        return value;
    }
};

// A HEIF file's EXIF item found through its item information (iinf) and locations (iloc),
// read straight as a JPEG's block is. Nothing where the layout is beyond this simple form (an
// item in pieces or inside the meta box): libheif then reads the file.
std::optional<FileFacts> HeifItemFacts(ByteSource& source)
{
    const std::optional<Box> meta = FindBox(source, 0, source.Size(), "meta");
    const std::optional<Box> info = meta ? FindBox(source, meta->Payload + 4, meta->End, "iinf") : std::nullopt;
    const std::optional<Box> places = meta ? FindBox(source, meta->Payload + 4, meta->End, "iloc") : std::nullopt;
    if (!info || !places)
        return std::nullopt;
    char head[4];
    if (source.ReadAt(info->Payload, head, 4) != 4)
        return std::nullopt;
    std::optional<uint64_t> exifId;
    for (std::optional<Box> entry = FindBox(source, info->Payload + (head[0] == 0 ? 6 : 8), info->End, "infe");
         entry && !exifId; entry = FindBox(source, entry->End, info->End, "infe")) {
        char e[14]; // version and flags, the item's number, protection and type
        if (source.ReadAt(entry->Payload, e, 1) != 1 || (e[0] != 2 && e[0] != 3))
            continue;
        const int idSize = e[0] == 2 ? 2 : 4;
        const auto fields = static_cast<std::size_t>(4 + idSize + 2 + 4);
        if (entry->End - entry->Payload < fields || source.ReadAt(entry->Payload, e, fields) != fields)
            continue;
        if (std::string_view(e + 4 + idSize + 2, 4) == "Exif")
            exifId = Be(e + 4, idSize);
    }
    const std::optional<std::vector<char>> table = exifId ? Payload(source, *places) : std::nullopt;
    if (!table)
        return std::nullopt;
    Numbers n{*table};
    const uint64_t version = n.Take(1);
    n.Take(3);
    const uint64_t sizes = n.Take(1), more = n.Take(1);
    const unsigned offsetSize = sizes >> 4, lengthSize = sizes & 15, baseSize = more >> 4;
    const unsigned indexSize = version == 1 || version == 2 ? more & 15 : 0;
    const uint64_t count = n.Take(version < 2 ? 2 : 4);
    for (uint64_t i = 0; i < count && !n.Past; ++i) {
        const uint64_t id = n.Take(version < 2 ? 2 : 4);
        const uint64_t method = version == 1 || version == 2 ? n.Take(2) & 15 : 0;
        n.Take(2); // data reference
        const uint64_t base = n.Take(baseSize);
        const uint64_t extents = n.Take(2);
        uint64_t offset = 0, length = 0;
        for (uint64_t k = 0; k < extents && !n.Past; ++k) {
            n.Take(indexSize);
            offset = n.Take(offsetSize);
            length = n.Take(lengthSize);
        }
        if (id != *exifId)
            continue;
        if (n.Past || method != 0 || extents != 1 || length < 4 || length > 16 * 1024 * 1024 || base > UINT64_MAX - offset)
            return std::nullopt;
        std::vector<char> block(length);
        if (source.ReadAt(base + offset, block.data(), block.size()) != block.size())
            return std::nullopt;
        // The item begins with the offset of its TIFF header, counted after those four bytes.
        const uint64_t header = 4 + Be(block.data(), 4);
        if (header >= length)
            return std::nullopt;
        return FactsOfTiffBytes(block.data() + header, length - header);
    }
    return std::nullopt;
}

// HEIF and AVIF: the EXIF item read straight where its layout is simple, else through libheif,
// which follows every layout (Exiv2 can't follow the item locations of some, heif-enc's among
// them); Exiv2 reads CR3 and whatever libheif rejects.
FileFacts StillFacts(ByteSource& source, bool heif)
{
    FileFacts facts;
    if (heif) {
        if (const std::optional<FileFacts> quick = HeifItemFacts(source); quick && quick->Time)
            return *quick;
        facts = FactsThroughLibheif(source);
    }
    if (facts.Time)
        return facts;
    try {
        return FactsThroughExiv2(source);
    } catch (...) {
        return facts;
    }
}

} // namespace

std::optional<int64_t> MovieCreationUtc(ByteSource& source)
{
    const std::optional<Box> movie = FindBox(source, 0, source.Size(), "moov");
    const std::optional<Box> header = movie ? FindBox(source, movie->Payload, movie->End, "mvhd") : std::nullopt;
    if (!header)
        return std::nullopt;
    char fields[12];
    if (header->Payload + 4 > header->End || source.ReadAt(header->Payload, fields, 4) != 4)
        return std::nullopt;
    const int bytes = fields[0] == 1 ? 8 : 4; // version 1 keeps 64-bit times
    if (header->Payload + 4 + static_cast<uint64_t>(bytes) > header->End ||
        source.ReadAt(header->Payload + 4, fields + 4, static_cast<std::size_t>(bytes)) != static_cast<std::size_t>(bytes))
        return std::nullopt;
    constexpr int64_t k1904To1970 = 2082844800;
    constexpr uint64_t kLastSecondOf9999 = 253402300799 + k1904To1970;
    const uint64_t since1904 = Be(fields + 4, bytes);
    if (since1904 <= static_cast<uint64_t>(k1904To1970) || since1904 > kLastSecondOf9999)
        return std::nullopt;
    return static_cast<int64_t>(since1904) - k1904To1970;
}

FileFacts FactsOfIsoMedia(ByteSource& file)
{
    thread_local std::vector<char> window(16 * 1024);
    WindowSource source(file, window);
    const std::optional<Box> type = BoxAt(source, 0, source.Size());
    if (!type || type->End - type->Payload < 8)
        return {};
    std::vector<char> brands(static_cast<std::size_t>(std::min<uint64_t>(type->End - type->Payload, 4096)));
    brands.resize(source.ReadAt(type->Payload, brands.data(), brands.size()));
    if (brands.size() < 4)
        return {};
    const std::string_view major(brands.data(), 4);
    bool stillCompatible = false;
    for (std::size_t at = 8; at + 4 <= brands.size(); at += 4)
        stillCompatible = stillCompatible || IsStillBrand(std::string_view(brands.data() + at, 4));
    if (major == "crx ") {
        if (std::optional<FileFacts> facts = CanonBoxFacts(source))
            return *facts;
    }
    if (IsStillBrand(major))
        return StillFacts(source, major != "crx ");
    FileFacts facts;
    if (const std::optional<int64_t> utc = MovieCreationUtc(source)) {
        // A movie's time is UTC by its format's rule; names and order use the local clock.
        facts.Time = CaptureTime{*utc + platform::LocalClockOffset(*utc), 0};
        return facts;
    }
    return stillCompatible ? StillFacts(source, true) : facts;
}

} // namespace metadata
