// The facts an EXIF tree holds, and the decoding of a bare TIFF-structured block.
#include "metadata/formats.h"

#include <climits>

namespace metadata {

namespace {

// Sub-seconds as nanoseconds: "12" is 0.12 s. Trailing blanks are allowed, anything else but
// digits makes the tag count as absent.
uint32_t SubSecondNanoseconds(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty())
        return 0;
    uint32_t nanos = 0;
    for (std::size_t i = 0; i < 9; ++i) {
        char c = i < text.size() ? text[i] : '0';
        if (c < '0' || c > '9')
            return 0;
        nanos = nanos * 10 + static_cast<uint32_t>(c - '0');
    }
    for (std::size_t i = 9; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return 0;
    return nanos;
}

} // namespace

FileFacts FactsFromExif(const Exiv2::ExifData& data)
{
    FileFacts facts;
    static constexpr struct {
        const char* time;
        const char* subSeconds;
    } candidates[] = {
        {"Exif.Photo.DateTimeOriginal", "Exif.Photo.SubSecTimeOriginal"},
        {"Exif.Photo.DateTimeDigitized", "Exif.Photo.SubSecTimeDigitized"},
        {"Exif.Image.DateTime", "Exif.Photo.SubSecTime"},
    };
    for (const auto& c : candidates) {
        if (const auto seconds = ExifDateTimeSeconds(ExifText(data, c.time))) {
            facts.Time = CaptureTime{*seconds, SubSecondNanoseconds(ExifText(data, c.subSeconds))};
            break;
        }
    }
    facts.Taken.Make = ExifText(data, "Exif.Image.Make");
    facts.Taken.Model = ExifText(data, "Exif.Image.Model");
    // The standard tag first, then the makers' own where older cameras keep the lens.
    for (const char* key : {"Exif.Photo.LensModel", "Exif.Canon.LensModel", "Exif.OlympusEq.LensModel"}) {
        facts.Taken.Lens = ExifText(data, key);
        if (!facts.Taken.Lens.empty())
            break;
    }
    return facts;
}

FileFacts FactsOfTiffBytes(const char* data, std::size_t size)
{
    Exiv2::ExifData exif;
    Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte*>(data),
                              static_cast<uint32_t>(std::min<std::size_t>(size, UINT32_MAX)));
    return FactsFromExif(exif);
}

} // namespace metadata
