#pragma once
// Small real files of every photo and video format whose capture time the program reads, for
// the tests, the benchmarks and the fuzz seeds. The EXIF structures are Exiv2's own; the
// containers around them are laid out here as their formats say.
#include "support/exifjpeg.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

inline std::string Be32Bytes(uint64_t v)
{
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

inline std::string Le32Bytes(uint64_t v)
{
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

// An ISO base media box: 32-bit size, type, payload.
inline std::string IsoBox(const std::string& type, const std::string& payload)
{
    return Be32Bytes(payload.size() + 8) + type + payload;
}

inline std::string FileTypeBox(const std::string& major, const std::string& compatible)
{
    return IsoBox("ftyp", major + std::string(4, '\0') + compatible);
}

// A TIFF structure of ASCII tags in one directory, little-endian, as CR3's CMT boxes hold.
inline std::string AsciiTiff(const std::vector<std::pair<uint16_t, std::string>>& tags)
{
    const auto le16 = [](uint16_t v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; };
    std::string head = "II*" + std::string(1, '\0') + Le32Bytes(8) + le16(static_cast<uint16_t>(tags.size()));
    std::string data;
    const std::size_t dataAt = 8 + 2 + 12 * tags.size() + 4;
    for (const auto& [tag, text] : tags) {
        const std::string value = text + '\0';
        head += le16(tag) + le16(2) + Le32Bytes(value.size());
        if (value.size() <= 4) {
            head += value + std::string(4 - value.size(), '\0');
        } else {
            head += Le32Bytes(dataAt + data.size());
            data += value;
        }
    }
    return head + Le32Bytes(0) + data;
}

// An RW2 file: Panasonic's header, its maker and model, and the JPEG (JpgFromRaw) whose EXIF
// block holds the times.
inline std::string Rw2File(const ExifTags& tags)
{
    const auto le16 = [](uint16_t v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; };
    const std::string make = tags.Make + '\0', model = tags.Model + '\0', jpeg = JpegWithExif(tags);
    const std::size_t dataAt = 8 + 2 + 3 * 12 + 4;
    return std::string("IIU\0", 4) + Le32Bytes(8) + le16(3) +
           le16(0x010f) + le16(2) + Le32Bytes(make.size()) + Le32Bytes(dataAt) +
           le16(0x0110) + le16(2) + Le32Bytes(model.size()) + Le32Bytes(dataAt + make.size()) +
           le16(0x002e) + le16(7) + Le32Bytes(jpeg.size()) + Le32Bytes(dataAt + make.size() + model.size()) +
           Le32Bytes(0) + make + model + jpeg + std::string(4096, '\x55');
}

// A TIFF-based raw file: the EXIF structure, then the picture data.
inline std::string RawTiffFile(const ExifTags& tags, std::size_t pictureBytes = 4096)
{
    return TiffBlock(tags) + std::string(pictureBytes, '\x55');
}

// A RAF file: its header says where the camera's JPEG lies.
inline std::string RafFile(const ExifTags& tags)
{
    const std::string jpeg = JpegWithExif(tags);
    std::string file = "FUJIFILMCCD-RAW 0201FF129502";
    file.resize(84, '\0');
    file += Be32Bytes(160) + Be32Bytes(jpeg.size());
    file.resize(160, '\0');
    return file + jpeg + std::string(4096, '\x55');
}

// A CR3 file: Canon's box in the movie box holds the image directory (CMT1) and the EXIF
// directory (CMT2) as TIFF structures.
inline std::string Cr3File(const std::string& make, const std::string& model, const std::string& time,
                           const std::string& lens)
{
    const std::string canon("\x85\xc0\xb6\x87\x82\x0f\x11\xe0\x81\x11\xf4\xce\x46\x2b\x6a\x48", 16);
    const std::string cmt1 = IsoBox("CMT1", AsciiTiff({{0x010f, make}, {0x0110, model}}));
    const std::string cmt2 = IsoBox("CMT2", AsciiTiff({{0x9003, time}, {0xa434, lens}}));
    return FileTypeBox("crx ", "crx isom") + IsoBox("moov", IsoBox("uuid", canon + cmt1 + cmt2)) +
           IsoBox("mdat", std::string(4096, '\x55'));
}

// A PNG file with an eXIf chunk (its check sums are not looked at by the reader).
inline std::string PngFile(const ExifTags& tags)
{
    const auto chunk = [](const std::string& type, const std::string& data) {
        return Be32Bytes(data.size()) + type + data + std::string(4, '\0');
    };
    std::string header = Be32Bytes(8) + Be32Bytes(8) + std::string("\x08\x02\0\0\0", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", std::string(64, '\0')) +
           chunk("eXIf", TiffBlock(tags)) + chunk("IEND", "");
}

// A WebP file with an EXIF chunk.
inline std::string WebpFile(const ExifTags& tags)
{
    const auto chunk = [](const std::string& type, std::string data) {
        const std::size_t size = data.size();
        if (size % 2)
            data += '\0';
        return type + Le32Bytes(size) + data;
    };
    const std::string body = "WEBP" + chunk("VP8X", std::string("\x08\0\0\0\x07\0\0\x07\0\0", 10)) +
                             chunk("EXIF", ExifBlock(tags));
    return "RIFF" + Le32Bytes(body.size()) + body;
}

// A movie whose header says it was made `utc` seconds after 1970 (UTC), version 0 or 1.
inline std::string MovieFile(const std::string& brand, int64_t utc, int version = 0, std::size_t mediaBytes = 4096)
{
    const uint64_t since1904 = static_cast<uint64_t>(utc + 2082844800);
    std::string header(1, static_cast<char>(version));
    header += std::string(3, '\0');
    header += version == 1 ? Be32Bytes(since1904 >> 32) + Be32Bytes(since1904) : Be32Bytes(since1904);
    header += std::string(version == 1 ? 92 : 80, '\0'); // modification time, scale, ... as zeros
    return FileTypeBox(brand, brand + "isom") + IsoBox("mdat", std::string(mediaBytes, '\x55')) +
           IsoBox("moov", IsoBox("mvhd", header));
}

// An HEIC file made by heif-enc from a JPEG with this EXIF block; empty when heif-enc is
// missing or fails.
inline std::string HeicFile(const ExifTags& tags, const std::string& workFolder)
{
    const std::string jpeg = workFolder + "/heif-source.jpg", heic = workFolder + "/heif-made.heic";
    std::ofstream(jpeg, std::ios::binary) << JpegWithExif(tags, {.JfifFirst = true, .Width = 64, .Height = 64});
    const std::string command = "heif-enc -q 50 -o '" + heic + "' '" + jpeg + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return {};
    std::ifstream in(heic, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
