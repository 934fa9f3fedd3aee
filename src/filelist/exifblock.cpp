#include "filelist/exifblock.h"

#include <algorithm>
#include <climits>

ExifDataPtr LoadExifBlock(std::string_view start)
{
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
