#pragma once
// The pictures a raw file carries for showing it: cameras store one or more finished JPEG
// previews beside the sensor data, found here with Exiv2's preview manager.
#include <optional>
#include <string>
#include <string_view>

namespace metadata {

// True when the bytes of a file's start are those of a raw format that Exiv2 reads: the
// TIFF-based raws (and TIFF itself), CR3, CRW, RAF, MRW, ORF and RW2.
bool LooksLikeRaw(std::string_view start);

struct RawPreview {
    std::string Jpeg;     // the largest embedded JPEG preview, as stored
    int Orientation = 1;  // the raw file's EXIF Orientation (1 to 8), 1 when it has none
};

// The largest embedded JPEG preview of the whole file's bytes; none when the file has none,
// is no format Exiv2 reads or is damaged (Exiv2's every throw ends here).
std::optional<RawPreview> LargestJpegPreview(std::string_view file);

} // namespace metadata
