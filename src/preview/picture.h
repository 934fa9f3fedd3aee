#pragma once
// The picture the preview shows for a file, told by what the file is: a JPEG, a HEIF or AVIF
// picture, or a raw file's largest embedded preview.
#include "base/errors.h"
#include "preview/jpegdecoder.h"

#include <string>

namespace preview {

// A file taken for a photo whose picture can't be read; what() is "ﾌｧｲﾙ " + full path +
// " の画像を表示できません".
class EPictureError : public PelkorinError {
public:
    explicit EPictureError(const std::string& path);
};

// Opens a regular file through the platform layer and decodes it for the preview. A JPEG
// throws the JPEG errors as LoadJpegForPreview does, and so does a file of any other content
// whose name does not pass the picture test by an extension of its own (".jpg", or none of
// the picture extensions). A HEIF, AVIF or raw file that can't be shown, and a file under a
// HEIF, AVIF or raw extension that is none of these, throws EPictureError. Throws
// EJpegOpenError when the file can't be opened.
DecodedJpeg LoadPictureForPreview(const std::string& path, double devicePixelRatio);

} // namespace preview
