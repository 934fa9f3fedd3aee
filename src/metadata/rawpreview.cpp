#include "metadata/rawpreview.h"

#include "metadata/exiv2use.h"
#include "metadata/orientation.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace metadata {

namespace {

const Exiv2::byte* BytesOf(std::string_view bytes)
{
    return reinterpret_cast<const Exiv2::byte*>(bytes.data());
}

// CR3 is an ISO base media file of the brand "crx "; HEIF and AVIF, of the same kind, are
// no raw files.
bool IsCanonCr3(std::string_view start)
{
    return start.size() >= 12 && start.substr(4, 8) == std::string_view("ftypcrx ", 8);
}

} // namespace

bool LooksLikeRaw(std::string_view start)
{
    UseExiv2();
    if (start.size() < 12)
        return false;
    try {
        switch (Exiv2::ImageFactory::getType(BytesOf(start), static_cast<long>(start.size()))) {
        case Exiv2::ImageType::tiff:
        case Exiv2::ImageType::cr2:
        case Exiv2::ImageType::crw:
        case Exiv2::ImageType::raf:
        case Exiv2::ImageType::mrw:
        case Exiv2::ImageType::orf:
        case Exiv2::ImageType::rw2:
            return true;
        case Exiv2::ImageType::bmff:
            return IsCanonCr3(start);
        default:
            return false;
        }
    } catch (...) {
        return false;
    }
}

namespace {

// What a directory says of its image, as far as a JPEG strip needs.
struct Directory {
    long NewSubfileType = -1, Compression = -1, Offset = -1, Size = -1, Width = 0, Height = 0;
};

// A JPEG preview kept as the single strip of a reduced-resolution directory of compression 7,
// as DNG files keep theirs: Exiv2's preview manager hands such a preview over wrapped into a
// TIFF, so the largest is taken from the file here. One pass over the tags.
std::string_view LargestJpegStrip(const Exiv2::ExifData& exif, std::string_view file, std::uint64_t& pixels)
{
    std::map<std::string, Directory> directories;
    for (const Exiv2::Exifdatum& datum : exif) {
        if (datum.count() != 1)
            continue;
        long Directory::*field = nullptr;
        switch (datum.tag()) {
        case 0x00FE: field = &Directory::NewSubfileType; break;
        case 0x0100: field = &Directory::Width; break;
        case 0x0101: field = &Directory::Height; break;
        case 0x0103: field = &Directory::Compression; break;
        case 0x0111: field = &Directory::Offset; break;
        case 0x0117: field = &Directory::Size; break;
        default: continue;
        }
        directories[datum.groupName()].*field = datum.toLong();
    }
    std::string_view best;
    for (const auto& [group, d] : directories) {
        if ((group != "Image" && group.rfind("SubImage", 0) != 0) || d.NewSubfileType != 1 || d.Compression != 7 ||
            d.Offset < 0 || d.Size < 2 || static_cast<std::size_t>(d.Offset) > file.size() ||
            static_cast<std::size_t>(d.Size) > file.size() - static_cast<std::size_t>(d.Offset))
            continue;
        const std::string_view jpeg = file.substr(static_cast<std::size_t>(d.Offset), static_cast<std::size_t>(d.Size));
        const std::uint64_t size = static_cast<std::uint64_t>(std::max(0L, d.Width)) * static_cast<std::uint64_t>(std::max(0L, d.Height));
        if (jpeg.substr(0, 2) == "\xff\xd8" && (best.empty() || size > pixels)) {
            best = jpeg;
            pixels = size;
        }
    }
    return best;
}

// A Fujifilm RAF keeps one full-size JPEG, its offset and length at bytes 84 and 88 (big-
// endian). Exiv2 refuses many RAF files outright, so the JPEG is taken from where the header
// says; it carries the camera's own EXIF block, with its Orientation.
std::optional<RawPreview> RafPreview(std::string_view file)
{
    const auto number = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i)
            value = value << 8 | static_cast<unsigned char>(file[at + i]);
        return std::size_t{value};
    };
    if (file.size() < 92 || file.substr(0, 16) != "FUJIFILMCCD-RAW ")
        return std::nullopt;
    const std::size_t offset = number(84), size = number(88);
    if (offset > file.size() || size > file.size() - offset || file.substr(offset, 2) != "\xff\xd8")
        return std::nullopt;
    RawPreview result;
    result.Jpeg.assign(file.substr(offset, size));
    result.Orientation = ExifOrientationFromBytes(result.Jpeg);
    return result;
}

int OrientationOf(const Exiv2::ExifData& exif)
{
    const auto orientation = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    const long value = orientation != exif.end() && orientation->count() > 0 ? orientation->toLong() : 1;
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
}

} // namespace

std::optional<RawPreview> LargestJpegPreview(std::string_view file)
{
    if (std::optional<RawPreview> raf = RafPreview(file))
        return raf;
    UseExiv2();
    try {
        // Exiv2 reads the bytes where they are (a mapped file): nothing is copied but the preview.
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(BytesOf(file), static_cast<long>(file.size()));
        if (!image.get())
            return std::nullopt;
        image->readMetadata();
        const Exiv2::ExifData& exif = image->exifData();
        const Exiv2::PreviewManager previews(*image);
        const Exiv2::PreviewPropertiesList list = previews.getPreviewProperties();
        // The list runs from the smallest to the largest.
        auto best = list.rbegin();
        while (best != list.rend() && best->mimeType_ != "image/jpeg")
            ++best;
        const std::uint64_t bestPixels = best == list.rend() ? 0 : std::uint64_t{best->width_} * best->height_;
        std::uint64_t stripPixels = 0;
        const std::string_view strip = LargestJpegStrip(exif, file, stripPixels);
        RawPreview result;
        result.Orientation = OrientationOf(exif);
        if (!strip.empty() && (stripPixels > bestPixels || best == list.rend())) {
            result.Jpeg.assign(strip);
        } else if (best != list.rend()) {
            const Exiv2::PreviewImage picture = previews.getPreviewImage(*best);
            result.Jpeg.assign(reinterpret_cast<const char*>(picture.pData()), picture.size());
        }
        if (!result.Jpeg.empty())
            return result;
    } catch (...) {
        // A damaged file, or one Exiv2 can't read: no preview.
    }
    return std::nullopt;
}

} // namespace metadata
