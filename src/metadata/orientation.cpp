#include "metadata/orientation.h"

#include "metadata/capturetime.h"
#include "metadata/exifblock.h"
#include "metadata/exiv2use.h"

#include <climits>

int ExifOrientationFromBytes(std::string_view start)
{
    const std::string_view block = LocateExif(start.substr(0, kCaptureBytesLimit)).Block;
    if (block.size() <= 6)
        return 1;
    metadata::UseExiv2();
    try {
        Exiv2::ExifData data;
        Exiv2::ExifParser::decode(data, reinterpret_cast<const Exiv2::byte*>(block.data() + 6),
                                  static_cast<uint32_t>(std::min<std::size_t>(block.size() - 6, UINT32_MAX)));
        const auto it = data.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (it == data.end() || it->typeId() != Exiv2::unsignedShort || it->count() < 1)
            return 1;
        const long value = it->toLong(0);
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    } catch (...) {
        return 1;
    }
}
