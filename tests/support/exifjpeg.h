#pragma once
// Writes real EXIF blocks with Exiv2's own writer and wraps them into small real JPEG files,
// for the tests and the benchmarks of the capture-date sort.
#include "metadata/exiv2use.h"
#include "preview/jpegwriter.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

struct ExifTags {
    std::string DateTimeOriginal, DateTimeDigitized, DateTime; // empty: tag not written
    std::string SubSecTimeOriginal, SubSecTimeDigitized, SubSecTime;
    std::string ThumbnailDateTime; // DateTime of the thumbnail's directory
    std::string Make = "Pelkorin Test Camera";
    std::string Model, LensModel;  // empty: tag not written
    bool BigEndian = false;
    std::string Thumbnail; // JPEG bytes stored as the thumbnail; empty: none
    int Orientation = 0;   // of the first image directory; 0: tag not written
};

// The TIFF structure alone (the body of a TIFF file, of an HEIF Exif item, of a PNG eXIf chunk).
inline std::string TiffBlock(const ExifTags& tags)
{
    metadata::UseExiv2();
    Exiv2::ExifData data;
    const auto text = [&data](const char* key, const std::string& value) {
        if (!value.empty())
            data[key] = value;
    };
    text("Exif.Image.Make", tags.Make);
    text("Exif.Image.Model", tags.Model);
    text("Exif.Image.DateTime", tags.DateTime);
    if (tags.Orientation != 0)
        data["Exif.Image.Orientation"] = static_cast<uint16_t>(tags.Orientation);
    text("Exif.Photo.DateTimeOriginal", tags.DateTimeOriginal);
    text("Exif.Photo.DateTimeDigitized", tags.DateTimeDigitized);
    text("Exif.Photo.SubSecTimeOriginal", tags.SubSecTimeOriginal);
    text("Exif.Photo.SubSecTimeDigitized", tags.SubSecTimeDigitized);
    text("Exif.Photo.SubSecTime", tags.SubSecTime);
    text("Exif.Photo.LensModel", tags.LensModel);
    text("Exif.Thumbnail.DateTime", tags.ThumbnailDateTime);
    if (!tags.Thumbnail.empty())
        Exiv2::ExifThumb(data).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(tags.Thumbnail.data()),
                                                static_cast<long>(tags.Thumbnail.size()));
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, tags.BigEndian ? Exiv2::bigEndian : Exiv2::littleEndian, data);
    if (blob.empty())
        throw std::runtime_error("Exiv2 wrote no EXIF block");
    return std::string(blob.begin(), blob.end());
}

// "Exif\0\0" followed by the TIFF structure, as an APP1 segment carries it.
inline std::string ExifBlock(const ExifTags& tags)
{
    return std::string("Exif\0\0", 6) + TiffBlock(tags);
}

// A JPEG segment: marker, big-endian length (which counts itself), payload.
inline std::string JpegSegment(unsigned char marker, const std::string& payload)
{
    const std::size_t length = payload.size() + 2;
    if (length > 0xffff)
        throw std::runtime_error("JPEG segment too long");
    std::string s{'\xff', static_cast<char>(marker), static_cast<char>(length >> 8),
                  static_cast<char>(length & 0xff)};
    return s + payload;
}

struct JpegLayout {
    bool JfifFirst = false;    // the JFIF APP0 segment before the EXIF one, as many writers do
    std::size_t Padding = 0;   // bytes of APP2 segments (ICC profile style) before the EXIF one
    std::string Comment = {};  // a comment segment before the EXIF one (empty: none)
    int Width = 8, Height = 8; // of the image itself
};

// A complete JPEG file: start of image, [JFIF], [comment], [padding], APP1 with the EXIF block, then the
// image as libjpeg wrote it.
inline std::string JpegWithExif(const ExifTags& tags, const JpegLayout& layout = {})
{
    const std::string image = WriteTestJpeg(layout.Width, layout.Height);
    // libjpeg writes SOI then the JFIF APP0; keep that APP0 aside and the rest as it is.
    const std::size_t app0End = 4 + (static_cast<unsigned char>(image[4]) << 8 |
                                     static_cast<unsigned char>(image[5]));
    std::string file = image.substr(0, 2);
    if (layout.JfifFirst)
        file += image.substr(2, app0End - 2);
    if (!layout.Comment.empty())
        file += JpegSegment(0xfe, layout.Comment);
    for (std::size_t left = layout.Padding; left > 0;) {
        const std::size_t part = std::min<std::size_t>(left, 60000);
        file += JpegSegment(0xe2, std::string(part, 'p'));
        left -= part;
    }
    file += JpegSegment(0xe1, ExifBlock(tags));
    return file + image.substr(app0End);
}
