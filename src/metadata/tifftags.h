#pragma once
// The few standard tags a name or the capture-date sort needs, read straight from a TIFF
// structure: Exiv2's decoding of a whole block builds every entry and costs more than reading
// the file (measured in bench/formats_bench.cpp), so the common case does without it.
#include "metadata/filefacts.h"

#include <cstddef>
#include <optional>

namespace metadata {

// The texts of the three times and their sub-seconds; the capture time is DateTimeOriginal,
// else DateTimeDigitized, else DateTime, each only when it holds a real date, its own
// sub-seconds tag giving the fraction.
struct TimeTexts {
    std::string Original, SubSecOriginal, Digitized, SubSecDigitized, DateTime, SubSec;
};
std::optional<CaptureTime> TimeOfTexts(const TimeTexts& t);

struct QuickTags {
    FileFacts Facts;
    bool MakerNote = false; // the maker's own tags are there (where older cameras keep the lens)
    bool Whole = true;      // every directory and text looked for lay within the bytes
    // A JPEG the first directory holds whole (an RW2 file's JpgFromRaw, whose EXIF block holds
    // the times): where it lies in the file, size 0 for none.
    uint32_t JpegAt = 0, JpegSize = 0;
};

// The times (with sub-seconds), Make, Model and LensModel of the first image directory and its
// EXIF directory, only as far as they lie within the bytes; nothing when the bytes do not begin
// with a TIFF header ("II*\0" or "MM\0*", or the ORF and RW2 forms of it).
// exifFirst: the first directory is itself an EXIF directory (as in CR3's CMT2 box).
std::optional<QuickTags> ReadQuickTags(const char* data, std::size_t size, bool exifFirst = false);

} // namespace metadata
