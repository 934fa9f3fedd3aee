#pragma once
// HEIF and AVIF pictures for the preview, decoded with libheif.
#include "preview/jpegdecoder.h"

#include <optional>
#include <string_view>

namespace preview {

// True when the bytes of a file's start are those of a HEIF or AVIF file libheif can decode.
bool LooksLikeHeif(std::string_view start);

// The primary image of a whole HEIF or AVIF file, standing as the file's own transformations
// (rotation, mirroring, crop) say; its stored thumbnail instead when one covers the preview's
// picture box in device pixels. The image is reduced to cover twice that box, as a JPEG is;
// width and height are the primary image's. None when the file can't be decoded.
std::optional<DecodedJpeg> DecodeHeifForPreview(std::string_view file, double devicePixelRatio);

} // namespace preview
