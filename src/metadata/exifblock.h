#pragma once
// Where the EXIF block of a JPEG file's start lies, shared by everything that reads one.
#include <cstddef>
#include <string_view>

// Where the EXIF block lies in the bytes of a file's start: from its "Exif\0\0" header to the
// end of its segment, empty when they hold none or cut it short; and how many bytes of the
// start the block needs: more than were given while it, or a segment before it, runs past
// them, else as many as were given.
struct ExifPlace {
    std::string_view Block;
    std::size_t Wanted;
    std::string_view Begun = {}; // the block as far as the bytes hold it, cut short or not
};
ExifPlace LocateExif(std::string_view start);
