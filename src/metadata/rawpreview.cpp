#include "metadata/rawpreview.h"

#include <exiv2/exiv2.hpp>

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

std::optional<RawPreview> LargestJpegPreview(std::string_view file)
{
    SetUpExiv2();
    try {
        // Exiv2 reads the bytes where they are (a mapped file): nothing is copied but the preview.
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(BytesOf(file), static_cast<long>(file.size()));
        if (!image.get())
            return std::nullopt;
        image->readMetadata();
        const Exiv2::PreviewManager previews(*image);
        const Exiv2::PreviewPropertiesList list = previews.getPreviewProperties();
        // The list runs from the smallest to the largest.
        for (auto p = list.rbegin(); p != list.rend(); ++p) {
            if (p->mimeType_ != "image/jpeg")
                continue;
            const Exiv2::PreviewImage picture = previews.getPreviewImage(*p);
            if (picture.size() == 0)
                continue;
            RawPreview result;
            result.Jpeg.assign(reinterpret_cast<const char*>(picture.pData()), picture.size());
            const Exiv2::ExifData& exif = image->exifData();
            const auto orientation = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
            if (orientation != exif.end() && orientation->count() > 0) {
                const long value = orientation->toLong();
                if (value >= 1 && value <= 8)
                    result.Orientation = static_cast<int>(value);
            }
            return result;
        }
    } catch (...) {
        // A damaged file, or one Exiv2 can't read: no preview.
    }
    return std::nullopt;
}

} // namespace metadata
