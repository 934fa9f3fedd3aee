#include "metadata/orientation.h"

#include "metadata/capturetime.h"
#include "metadata/exifblock.h"

int ExifOrientationFromBytes(std::string_view start)
{
    const ExifDataPtr data = LoadExifBlock(start.substr(0, kCaptureBytesLimit));
    ExifContent* image = data ? data->ifd[EXIF_IFD_0] : nullptr;
    ExifEntry* e = image ? exif_content_get_entry(image, EXIF_TAG_ORIENTATION) : nullptr;
    if (!e || !e->data || e->format != EXIF_FORMAT_SHORT || e->components < 1 || e->size < 2)
        return 1;
    const int value = exif_get_short(e->data, exif_data_get_byte_order(data.get()));
    return value >= 1 && value <= 8 ? value : 1;
}
