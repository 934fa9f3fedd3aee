#include "metadata/exifblock.h"

#include <algorithm>

namespace {
constexpr std::string_view kExifHeader{"Exif\0\0", 6};

unsigned char Byte(std::string_view s, std::size_t i)
{
    return static_cast<unsigned char>(s[i]);
}
} // namespace

ExifPlace LocateExif(std::string_view s)
{
    const std::size_t have = s.size();
    constexpr std::size_t kMore = 4096; // a peek past a cut, enough for the next headers
    if (s.starts_with(kExifHeader))
        return {s, have, s};
    // Fill bytes and the start-of-image marker are skipped; application segments and
    // comments (cameras and editors put both before the EXIF block) are stepped over; the
    // first APP1 that begins with the EXIF header is the block. Any other marker ends the search.
    std::size_t p = 0;
    for (;;) {
        while (p < have && Byte(s, p) == 0xff)
            ++p;
        if (p + 3 > have)
            return {{}, p + kMore};
        const unsigned char marker = Byte(s, p);
        if (marker == 0xd8) {
            ++p;
            continue;
        }
        if ((marker < 0xe0 || marker > 0xef) && marker != 0xfe)
            return {{}, have};
        const std::size_t end = p + 1 + (std::size_t{Byte(s, p + 1)} << 8 | Byte(s, p + 2));
        if (marker == 0xe1) {
            if (p + 9 > have)
                return {{}, p + kMore};
            // A block cut short by the bytes read is no block: more must be read first.
            if (s.substr(p + 3, kExifHeader.size()) == kExifHeader)
                return {end <= have ? s.substr(p + 3, end - (p + 3)) : std::string_view(), std::max(end, have),
                        s.substr(p + 3, std::min(end, have) - (p + 3))};
        }
        if (end > have)
            return {{}, end + kMore};
        if (end <= p + 2) // a length below 2 would not move on
            return {{}, have};
        p = end;
    }
}
