#pragma once
// What a photo or video file says of itself, read in one pass: when it was taken, and with
// which camera and lens.
#include "metadata/capturetime.h"
#include "platform/filestart.h"

#include <optional>
#include <string>
#include <string_view>

namespace metadata {

// The camera's maker, model and lens model as the file gives them (empty when it gives none).
struct Camera {
    std::string Make, Model, Lens;
    bool operator==(const Camera&) const = default;
};

struct FileFacts {
    std::optional<CaptureTime> Time;
    Camera Taken;
    bool operator==(const FileFacts&) const = default;
};

// The facts of a file as its content says, whatever its name: JPEG; TIFF and the TIFF-based
// raw formats; RAF; MRW; CR3, HEIC, HEIF and AVIF; PNG; WebP; QuickTime and MP4 videos (whose
// creation time, UTC, becomes local time). Nothing at all for anything else, for a damaged
// file, or for a name that is no regular file (never opened).
FileFacts FactsOfFile(const std::string& path);
FileFacts FactsOfFile(const std::string& path, const platform::LookedAt& seen);
FileFacts FactsOfReader(platform::FileStartReader& reader);
// The same for a whole file's bytes.
FileFacts FactsFromBytes(std::string_view bytes);

} // namespace metadata
