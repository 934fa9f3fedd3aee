#pragma once
// Where each format keeps its metadata: found by the readers of this room, each block decoded
// alone (tifftags.h for the standard tags, Exiv2 for the rest).
#include "metadata/bytesource.h"
#include "metadata/exiv2use.h"
#include "metadata/filefacts.h"

#include <optional>
#include <string>

namespace metadata {

// The capture time, camera and lens an EXIF tree holds.
FileFacts FactsFromExif(const Exiv2::ExifData& data);
// An EXIF block from its TIFF header on ("II*\0" or "MM\0*"); nothing when damaged.
FileFacts FactsOfTiffBytes(const char* data, std::size_t size);
// The same, always decoded by Exiv2 (makers' own tags included).
FileFacts DecodedFacts(const char* data, std::size_t size);

// JPEG (also a bare "Exif\0\0" block): the EXIF segment, located without Exiv2's full read.
FileFacts FactsOfJpeg(ByteSource& source);
// TIFF and the TIFF-based raw formats (ORF and RW2 headers included).
FileFacts FactsOfTiff(ByteSource& source);
// RAF (its JPEG), MRW (its TIFF block), PNG (eXIf), WebP (EXIF chunk).
FileFacts FactsOfRaf(ByteSource& source);
FileFacts FactsOfMrw(ByteSource& source);
FileFacts FactsOfPng(ByteSource& source);
FileFacts FactsOfWebp(ByteSource& source);
// ISO base media: still pictures (CR3, HEIC, HEIF, AVIF) and videos of the QuickTime family.
FileFacts FactsOfIsoMedia(ByteSource& source);

// The creation time of a QuickTime/MP4 movie header, as seconds since 1970 UTC; nothing when
// it is zero, before 1970, or not wholly in the file.
std::optional<int64_t> MovieCreationUtc(ByteSource& source);

} // namespace metadata
