#pragma once
// The EXIF block of a file's start as libexif loads it, shared by everything that reads one.
// Only the core's own sources include this: libexif is no part of its public interface.
#include <libexif/exif-data.h>

#include <cstddef>
#include <memory>
#include <string_view>

struct ExifDataUnref {
    void operator()(ExifData* d) const { exif_data_unref(d); }
};
using ExifDataPtr = std::unique_ptr<ExifData, ExifDataUnref>;

// Where the EXIF block lies in the bytes of a file's start: from its "Exif\0\0" header to the
// end of its segment, empty when they hold none or cut it short; and how many bytes of the
// start the block needs: more than were given while it, or a segment before it, runs past
// them, else as many as were given.
struct ExifPlace {
    std::string_view Block;
    std::size_t Wanted;
};
ExifPlace LocateExif(std::string_view start);

// The block in the bytes of a file's start (a JPEG file, or a bare "Exif\0\0" block), holding
// only what the file holds; an empty block for bytes without one, null only when libexif has
// no memory.
ExifDataPtr LoadExifBlock(std::string_view start);
