#pragma once
// A stand-in for a TIFF-based raw file, written byte by byte: an 8 x 8 image in the first
// directory with the given EXIF Orientation and, when a preview is given, that JPEG as the
// second directory's embedded preview as most cameras store theirs, or as the single strip of
// a reduced-resolution sub-directory as DNG files do.
#include <cstdint>
#include <string>
#include <vector>

inline std::string MakeRawStandIn(const std::string& previewJpeg, std::uint32_t orientation = 1, bool dng = false)
{
    auto put = [](std::string& out, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    // Each entry: tag, type (3 short, 4 long), one value.
    auto directory = [&](std::string& out, const std::vector<std::uint32_t>& entries, std::uint32_t next) {
        put(out, static_cast<std::uint32_t>(entries.size() / 3), 2);
        for (std::size_t e = 0; e < entries.size(); e += 3)
            put(out, entries[e], 2), put(out, entries[e + 1], 2), put(out, 1, 4), put(out, entries[e + 2], 4);
        put(out, next, 4);
    };
    const bool preview = !previewJpeg.empty();
    const std::uint32_t strip = 8 + 2 + 12 * (dng ? 11 : 10) + 4, second = strip + 64;
    const std::uint32_t jpeg = second + 2 + 12 * (dng ? 4 : 3) + 4, size = static_cast<std::uint32_t>(previewJpeg.size());
    std::vector<std::uint32_t> first = {0x100, 3, 8, 0x101, 3, 8, 0x102, 3, 8, 0x103, 3, 1, 0x106, 3, 1, 0x111, 4, strip,
                                        0x112, 3, orientation, 0x115, 3, 1, 0x116, 3, 8, 0x117, 4, 64};
    if (dng)
        first.insert(first.end(), {0x14A, 4, second});
    std::string out("II*\0\x08\0\0\0", 8);
    directory(out, first, preview && !dng ? second : 0);
    out.append(64, '\x80');
    if (preview) {
        directory(out, dng ? std::vector<std::uint32_t>{0xFE, 4, 1, 0x103, 3, 7, 0x111, 4, jpeg, 0x117, 4, size}
                           : std::vector<std::uint32_t>{0x103, 3, 6, 0x201, 4, jpeg, 0x202, 4, size}, 0);
        out += previewJpeg;
    }
    return out;
}

// A stand-in for a Fujifilm RAF: its header, which says where its JPEG lies, and the JPEG.
inline std::string MakeRafStandIn(const std::string& jpeg)
{
    std::string out = "FUJIFILMCCD-RAW 0201FF383501";
    out.resize(84, '\0');
    for (const std::size_t value : {std::size_t{100}, jpeg.size(), std::size_t{0}})
        for (int shift = 24; shift >= 0; shift -= 8)
            out += static_cast<char>(value >> shift & 0xFF);
    return out + std::string(4, '\0') + jpeg;
}
