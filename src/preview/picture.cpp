#include "preview/picture.h"

#include "metadata/rawpreview.h"
#include "platform/filestart.h"
#include "preview/heifdecoder.h"
#include "preview/thumbnail.h"

#include <optional>

namespace preview {

EPictureError::EPictureError(const std::string& path)
    : PelkorinError("ﾌｧｲﾙ " + path + " の画像を表示できません")
{
}

namespace {

bool StartsAsJpeg(const std::string& head)
{
    return head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
           static_cast<unsigned char>(head[1]) == 0xD8;
}

std::optional<DecodedJpeg> RawPreviewForPreview(std::string_view file, double devicePixelRatio)
{
    const std::optional<metadata::RawPreview> preview = metadata::LargestJpegPreview(file);
    if (!preview)
        return std::nullopt;
    try {
        return DecodeJpegForPreview(preview->Jpeg, devicePixelRatio, preview->Orientation);
    } catch (const EJpegError&) {
        return std::nullopt;
    }
}

} // namespace

DecodedJpeg LoadPictureForPreview(const std::string& path, double devicePixelRatio)
{
    platform::FileStartReader file(path);
    if (!file.valid())
        throw EJpegOpenError(path);
    const std::string head = ReadFileHead(file);
    if (!StartsAsJpeg(head)) {
        const bool heif = LooksLikeHeif(head);
        if (heif || metadata::LooksLikeRaw(head)) {
            // Both read only the parts they need from the mapped file.
            const std::string_view whole = file.MapWhole();
            std::optional<DecodedJpeg> picture =
                heif ? DecodeHeifForPreview(whole, devicePixelRatio) : RawPreviewForPreview(whole, devicePixelRatio);
            if (!picture)
                throw EPictureError(path);
            return std::move(*picture);
        }
        const std::string name = path.substr(path.rfind('/') + 1);
        if (PassesPictureTest(name) && !PassesJpegTest(name))
            throw EPictureError(path);
    }
    // A JPEG, or anything else given as one: the decoder tells what is wrong with it.
    return DecodeJpegFileForPreview(file, head, devicePixelRatio);
}

} // namespace preview
