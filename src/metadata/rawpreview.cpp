#include "metadata/rawpreview.h"

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <cstdint>
#include <mutex>

namespace metadata {

namespace {

// Exiv2 reads CR3 only with its ISO base media support on, and its warnings about damaged
// files would only fill the terminal.
void SetUpExiv2()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::enableBMFF(true);
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    });
}

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
    SetUpExiv2();
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

// A JPEG preview kept as the single strip of a reduced-resolution directory of compression 7,
// as DNG files keep theirs: Exiv2's preview manager hands such a preview over wrapped into a
// TIFF, so it is taken from the file here. group: "Image", "SubImage1", ...
std::string_view JpegStrip(const Exiv2::ExifData& exif, const std::string& group, std::string_view file,
                           std::uint64_t& pixels)
{
    const auto value = [&](const char* tag) -> long {
        const auto it = exif.findKey(Exiv2::ExifKey("Exif." + group + "." + tag));
        return it != exif.end() && it->count() == 1 ? it->toLong() : -1;
    };
    const long offset = value("StripOffsets"), size = value("StripByteCounts");
    if (value("NewSubfileType") != 1 || value("Compression") != 7 || offset < 0 || size < 2 ||
        static_cast<std::size_t>(offset) > file.size() || static_cast<std::size_t>(size) > file.size() - offset)
        return {};
    const std::string_view jpeg = file.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
    if (jpeg.substr(0, 2) != "\xff\xd8")
        return {};
    pixels = static_cast<std::uint64_t>(std::max(0L, value("ImageWidth"))) * std::max(0L, value("ImageLength"));
    return jpeg;
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
    SetUpExiv2();
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
        std::uint64_t bestPixels = best == list.rend() ? 0 : std::uint64_t{best->width_} * best->height_;
        std::string_view strip;
        for (int n = 0; n <= 9; ++n) {
            std::uint64_t pixels = 0;
            const std::string_view found = JpegStrip(exif, n ? "SubImage" + std::to_string(n) : "Image", file, pixels);
            if (!found.empty() && (pixels > bestPixels || (best == list.rend() && strip.empty()))) {
                strip = found;
                bestPixels = pixels;
            }
        }
        RawPreview result;
        result.Orientation = OrientationOf(exif);
        if (!strip.empty()) {
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
