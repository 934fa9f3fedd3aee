// The preview shows a picture as it was taken: turned and mirrored as its EXIF Orientation
// says, its box that of the turned picture, the file left as it was.
#include "preview/jpegdecoder.h"
#include "preview/thumbnail.h"

#include "support/exifjpeg.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Where a pixel came from in the stored picture, told by the test picture's gradient (red
// grows to the right, green downwards): "TL", "TR", "BL" or "BR"; "?" when unclear.
std::string StoredCorner(QRgb pixel)
{
    const auto side = [](int value, char low, char high) {
        return value < 70 ? low : value > 185 ? high : '?';
    };
    return {side(qGreen(pixel), 'T', 'B'), side(qRed(pixel), 'L', 'R')};
}

TEST(PictureOrientation, TheEightOrientationsStandThePictureAsTaken)
{
    const struct {
        int orientation; // 0: no tag
        bool onItsSide;
        const char* corners; // the stored corners shown top left, top right, bottom left, bottom right
    } rows[] = {
        {0, false, "TL TR BL BR"}, {1, false, "TL TR BL BR"}, {2, false, "TR TL BR BL"},
        {3, false, "BR BL TR TL"}, {4, false, "BL BR TL TR"}, {5, true, "TL BL TR BR"},
        {6, true, "BL TL BR TR"},  {7, true, "BR TR BL TL"},  {8, true, "TR BR TL BL"},
        {9, false, "TL TR BL BR"}, // no such orientation: as stored
    };
    TempFolder temp;
    for (const auto& r : rows) {
        ExifTags tags;
        tags.Orientation = r.orientation;
        tags.BigEndian = r.orientation % 2 == 1;
        const std::string bytes = JpegWithExif(tags, {.JfifFirst = true, .Width = 64, .Height = 32});
        const std::string path = temp.Write("o" + std::to_string(r.orientation) + ".jpg", bytes);

        const preview::DecodedJpeg d = preview::LoadJpegForPreview(path, 1.0);
        const int w = r.onItsSide ? 32 : 64, h = r.onItsSide ? 64 : 32;
        EXPECT_EQ(d.width, w) << r.orientation;
        EXPECT_EQ(d.height, h) << r.orientation;
        EXPECT_EQ(d.image.size(), QSize(w, h)) << r.orientation;
        const preview::PictureBox box = preview::PictureBoxFor(d.width, d.height);
        EXPECT_EQ(QSize(box.width, box.height), r.onItsSide ? QSize(40, 80) : QSize(80, 40)) << r.orientation;
        const QImage& i = d.image;
        const std::string corners = StoredCorner(i.pixel(3, 3)) + " " + StoredCorner(i.pixel(w - 4, 3)) + " " +
                                    StoredCorner(i.pixel(3, h - 4)) + " " + StoredCorner(i.pixel(w - 4, h - 4));
        EXPECT_EQ(corners, r.corners) << r.orientation;
        EXPECT_EQ(ReadFileBytes(path), bytes) << "the file is never changed";
    }
}

} // namespace
