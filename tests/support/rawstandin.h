#pragma once
// A stand-in for a TIFF-based raw file, written byte by byte: a tiny 8 x 8 image in the first
// directory with the given EXIF Orientation and, when a preview is given, that JPEG as the
// embedded preview of the second directory, as cameras store theirs.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

inline std::string MakeRawStandIn(const std::string& previewJpeg, int orientation = 1)
{
    struct Entry {
        std::uint16_t tag, type;
        std::uint32_t value;
    };
    auto put = [](std::string& out, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    auto directory = [&](std::string& out, const std::vector<Entry>& entries, std::uint32_t next) {
        put(out, static_cast<std::uint32_t>(entries.size()), 2);
        for (const Entry& e : entries) {
            put(out, e.tag, 2);
            put(out, e.type, 2);
            put(out, 1, 4);
            put(out, e.value, 4);  // a SHORT sits in the first two bytes, little-endian
        }
        put(out, next, 4);
    };
    constexpr std::uint16_t Short = 3, Long = 4;
    const bool preview = !previewJpeg.empty();
    const std::uint32_t first = 8, firstSize = 2 + 12 * 10 + 4;
    const std::uint32_t strip = first + firstSize, second = strip + 64, jpeg = second + 2 + 12 * 3 + 4;
    std::string out = std::string("II*\0", 4);
    put(out, first, 4);
    directory(out,
              {{0x100, Short, 8}, {0x101, Short, 8}, {0x102, Short, 8}, {0x103, Short, 1},
               {0x106, Short, 1}, {0x111, Long, strip}, {0x112, Short, static_cast<std::uint32_t>(orientation)},
               {0x115, Short, 1}, {0x116, Short, 8}, {0x117, Long, 64}},
              preview ? second : 0);
    out.append(64, '\x80');
    if (preview) {
        directory(out, {{0x103, Short, 6}, {0x201, Long, jpeg}, {0x202, Long, static_cast<std::uint32_t>(previewJpeg.size())}}, 0);
        out += previewJpeg;
    }
    return out;
}
