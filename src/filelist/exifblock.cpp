#include "filelist/exifblock.h"

#include <algorithm>
#include <climits>

namespace {
constexpr std::string_view kExifHeader{"Exif\0\0", 6};

unsigned char Byte(std::string_view s, std::size_t i)
{
    return static_cast<unsigned char>(s[i]);
}
} // namespace

std::string_view ExifSegment(std::string_view s)
{
    if (s.starts_with(kExifHeader))
        return s;
    // Fill bytes and the start-of-image marker are skipped; application segments and
    // comments (cameras and editors put both before the EXIF block) are stepped over.
    std::size_t p = 0;
    for (;;) {
        while (p < s.size() && Byte(s, p) == 0xff)
            ++p;
        if (p + 3 > s.size())
            return {};
        const unsigned char marker = Byte(s, p);
        if (marker == 0xd8) {
            ++p;
            continue;
        }
        if ((marker < 0xe0 || marker > 0xef) && marker != 0xfe)
            return {};
        const std::size_t end = p + 1 + (std::size_t{Byte(s, p + 1)} << 8 | Byte(s, p + 2));
        // A block cut short by the bytes read is no block: more must be read first.
        if (marker == 0xe1 && s.substr(p + 3).starts_with(kExifHeader))
            return end <= s.size() ? s.substr(p + 3, end - (p + 3)) : std::string_view();
        if (end <= p + 2)
            return {};
        p = end;
    }
}

ExifDataPtr LoadExifBlock(std::string_view start)
{
    start = ExifSegment(start);
    ExifDataPtr data(exif_data_new());
    if (!data || start.empty())
        return data;
    // Following the standard would make the loader fill in missing mandatory entries with
    // made-up values; only what the file holds may count.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    const std::size_t size = std::min<std::size_t>(start.size(), UINT_MAX);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(start.data()),
                        static_cast<unsigned int>(size));
    return data;
}
