#pragma once
// Writes real EXIF blocks with libexif's own writer and wraps them into small real JPEG files,
// for the tests and the benchmark of the capture-date sort.
#include "preview/jpegwriter.h"

#include <libexif/exif-data.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

struct ExifTags {
    std::string DateTimeOriginal, DateTimeDigitized, DateTime; // empty: tag not written
    std::string SubSecTimeOriginal, SubSecTimeDigitized, SubSecTime;
    std::string ThumbnailDateTime; // DateTime of the thumbnail's directory
    std::string Make = "Pelkorin Test Camera";
    bool BigEndian = false;
    std::string Thumbnail; // JPEG bytes stored as the thumbnail; empty: none
    int Orientation = 0;   // of the first image directory; 0: tag not written
};

inline void AddExifText(ExifData* data, ExifIfd ifd, ExifTag tag, const std::string& text)
{
    if (text.empty())
        return;
    ExifEntry* e = exif_entry_new();
    e->tag = tag;
    e->format = EXIF_FORMAT_ASCII;
    e->components = text.size() + 1;
    e->size = static_cast<unsigned int>(text.size() + 1);
    e->data = static_cast<unsigned char*>(std::calloc(1, e->size));
    std::memcpy(e->data, text.data(), text.size());
    exif_content_add_entry(data->ifd[ifd], e);
    exif_entry_unref(e);
}

inline void AddExifShort(ExifData* data, ExifIfd ifd, ExifTag tag, int value)
{
    ExifEntry* e = exif_entry_new();
    e->tag = tag;
    e->format = EXIF_FORMAT_SHORT;
    e->components = 1;
    e->size = 2;
    e->data = static_cast<unsigned char*>(std::calloc(1, e->size));
    exif_set_short(e->data, exif_data_get_byte_order(data), static_cast<ExifShort>(value));
    exif_content_add_entry(data->ifd[ifd], e);
    exif_entry_unref(e);
}

// "Exif\0\0" followed by the TIFF structure, as an APP1 segment carries it.
inline std::string ExifBlock(const ExifTags& tags)
{
    ExifData* data = exif_data_new();
    // Written exactly as given: no mandatory entries added, no dates made up.
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_byte_order(data, tags.BigEndian ? EXIF_BYTE_ORDER_MOTOROLA : EXIF_BYTE_ORDER_INTEL);
    AddExifText(data, EXIF_IFD_0, EXIF_TAG_MAKE, tags.Make);
    AddExifText(data, EXIF_IFD_0, EXIF_TAG_DATE_TIME, tags.DateTime);
    if (tags.Orientation != 0)
        AddExifShort(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION, tags.Orientation);
    AddExifText(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, tags.DateTimeOriginal);
    AddExifText(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED, tags.DateTimeDigitized);
    AddExifText(data, EXIF_IFD_EXIF, EXIF_TAG_SUB_SEC_TIME_ORIGINAL, tags.SubSecTimeOriginal);
    AddExifText(data, EXIF_IFD_EXIF, EXIF_TAG_SUB_SEC_TIME_DIGITIZED, tags.SubSecTimeDigitized);
    AddExifText(data, EXIF_IFD_EXIF, EXIF_TAG_SUB_SEC_TIME, tags.SubSecTime);
    AddExifText(data, EXIF_IFD_1, EXIF_TAG_DATE_TIME, tags.ThumbnailDateTime);
    if (!tags.Thumbnail.empty()) {
        data->data = static_cast<unsigned char*>(std::malloc(tags.Thumbnail.size()));
        std::memcpy(data->data, tags.Thumbnail.data(), tags.Thumbnail.size());
        data->size = static_cast<unsigned int>(tags.Thumbnail.size());
    }
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &bytes, &size);
    exif_data_unref(data);
    if (!bytes)
        throw std::runtime_error("libexif wrote no EXIF block");
    std::string block(reinterpret_cast<const char*>(bytes), size);
    std::free(bytes);
    return block;
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
