#pragma once
// JPEG files for the preview, decoded with libjpeg from memory or from a file as it is read.
#include "base/errors.h"

#include <QImage>

#include <string>
#include <string_view>

namespace platform {
class FileStartReader;
}

namespace preview {

// libjpeg stopped with an error; what() is "JPEG ｴﾗｰ #" + the library's message code.
class EJpegError : public PelkorinError {
public:
    explicit EJpegError(int messageCode);
    int messageCode() const { return messageCode_; }

private:
    int messageCode_;
};

// The file could not be read; what() is "ﾌｧｲﾙ " + full path + " は開けません".
class EJpegOpenError : public EFileError {
public:
    explicit EJpegOpenError(const std::string& path);
};

// The picture stands as taken: turned and mirrored as its EXIF Orientation says (the file
// itself is never changed); without one it is shown as stored.
struct DecodedJpeg {
    QImage image;    // Format_RGB888, possibly decoded at a reduced scale, standing as taken
    int width = 0;   // the header's size, whatever the decode scale, with width and height
    int height = 0;  // changing places for a picture taken on its side (orientations 5 to 8)
};

// Decodes JPEG bytes. With a box (device pixels, both > 0 or either 0 for a flat box, of the
// picture as it stands) the smallest libjpeg scale from 1/8 to 1/1 whose output still covers
// twice the box in both directions is used, so the picture drawn into the box loses nothing visible; without one
// (boxWidth < 0) the image is decoded at full scale. Warnings are ignored and data that ends
// early is completed by the library. Throws EJpegError.
DecodedJpeg DecodeJpeg(const std::string& bytes, int boxWidth = -1, int boxHeight = -1);

// As DecodeJpeg, the box being the preview's picture box for the standing size (PictureBoxFor
// of width and height) in device pixels: its sides times devicePixelRatio, rounded up. The
// picture stands as orientation says, or as the bytes' own EXIF block says when it is < 0.
DecodedJpeg DecodeJpegForPreview(std::string_view bytes, double devicePixelRatio, int orientation = -1);

// The start of an opened file that the decoding of a picture looks at first (its EXIF block
// included); the reader is then positioned after it.
std::string ReadFileHead(platform::FileStartReader& file);
// Decodes an opened file as DecodeJpegForPreview does, its start being head (ReadFileHead) and
// the rest read piece by piece as the library needs it: only the parts the decoding reaches
// are read, and a file that is no JPEG fails on its first bytes. Throws EJpegError.
DecodedJpeg DecodeJpegFileForPreview(platform::FileStartReader& file, const std::string& head,
                                     double devicePixelRatio);
// Opens a regular file through the platform layer and decodes it so. Throws EJpegOpenError
// when the file can't be opened (a folder included) and EJpegError when it is no usable JPEG.
DecodedJpeg LoadJpegForPreview(const std::string& path, double devicePixelRatio);

} // namespace preview
