// The facts an EXIF tree holds, and the decoding of a bare TIFF-structured block.
#include "metadata/formats.h"
#include "metadata/tifftags.h"

#include <climits>

namespace metadata {

FileFacts FactsFromExif(const Exiv2::ExifData& data)
{
    FileFacts facts;
    facts.Time = TimeOfTexts({ExifText(data, "Exif.Photo.DateTimeOriginal"), ExifText(data, "Exif.Photo.SubSecTimeOriginal"),
                              ExifText(data, "Exif.Photo.DateTimeDigitized"), ExifText(data, "Exif.Photo.SubSecTimeDigitized"),
                              ExifText(data, "Exif.Image.DateTime"), ExifText(data, "Exif.Photo.SubSecTime")});
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
    // The standard tags straight from the bytes; Exiv2 for what only it can read: the makers'
    // own lens tags, and structures of another form.
    if (std::optional<QuickTags> quick = ReadQuickTags(data, size)) {
        if (quick->Facts.Taken.Lens.empty() && quick->MakerNote)
            quick->Facts.Taken.Lens = DecodedFacts(data, size).Taken.Lens;
        return quick->Facts;
    }
    return DecodedFacts(data, size);
}

FileFacts DecodedFacts(const char* data, std::size_t size)
{
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
    const auto* bytes = reinterpret_cast<const Exiv2::byte*>(data);
    const auto length = static_cast<uint32_t>(std::min<std::size_t>(size, UINT32_MAX));
    const std::string_view magic(data, std::min<std::size_t>(size, 4));
    if (magic == "IIRO" || magic == "IIRS" || magic == "MMOR")
        Exiv2::OrfParser::decode(exif, iptc, xmp, bytes, length);
    else if (magic == std::string_view("IIU\0", 4))
        Exiv2::Rw2Parser::decode(exif, iptc, xmp, bytes, length);
    else
        Exiv2::ExifParser::decode(exif, bytes, length);
    return FactsFromExif(exif);
}

} // namespace metadata
