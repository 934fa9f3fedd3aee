#include "preview/jpegdecoder.h"
#include "preview/jpegwriter.h"

#include "support/permissionoverride.h"
#include "support/rowname.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <jerror.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;


std::string JpegErrorText(int code)
{
    return "JPEG ｴﾗｰ #" + std::to_string(code);
}

std::string DecoderError(const std::string& bytes)
{
    try {
        preview::DecodeJpeg(bytes);
    } catch (const preview::EJpegError& e) {
        return e.what();
    }
    return "decoded";
}

TEST(JpegDecoder, FullScaleGivesHeaderSizeAndColours)
{
    const preview::DecodedJpeg decoded = preview::DecodeJpeg(WriteTestJpeg(64, 48, 95));
    EXPECT_EQ(decoded.width, 64);
    EXPECT_EQ(decoded.height, 48);
    ASSERT_EQ(decoded.image.size(), QSize(64, 48));
    EXPECT_EQ(decoded.image.format(), QImage::Format_RGB888);
    // The gradient runs from black-red left to full red right on the first row.
    EXPECT_LT(qRed(decoded.image.pixel(1, 1)), 40);
    EXPECT_GT(qRed(decoded.image.pixel(62, 1)), 215);
    EXPECT_GT(qGreen(decoded.image.pixel(1, 46)), 215);
}

struct ScaleCase {
    int width, height, boxWidth, boxHeight, outWidth, outHeight;
};

class JpegScale : public testing::TestWithParam<ScaleCase> {};

TEST_P(JpegScale, SmallestScaleCoveringTwiceTheBox)
{
    const ScaleCase& c = GetParam();
    const preview::DecodedJpeg decoded =
        preview::DecodeJpeg(WriteTestJpeg(c.width, c.height), c.boxWidth, c.boxHeight);
    EXPECT_EQ(decoded.width, c.width);
    EXPECT_EQ(decoded.height, c.height);
    EXPECT_EQ(decoded.image.width(), c.outWidth);
    EXPECT_EQ(decoded.image.height(), c.outHeight);
    EXPECT_GE(decoded.image.width(), std::min(c.width, c.boxWidth));
    EXPECT_GE(decoded.image.height(), std::min(c.height, c.boxHeight));
}

INSTANTIATE_TEST_SUITE_P(Boxes, JpegScale,
                         testing::Values(ScaleCase{1280, 960, 80, 60, 160, 120},    // 1/8
                                         ScaleCase{640, 480, 80, 60, 160, 120},     // 2/8
                                         ScaleCase{600, 400, 80, 53, 225, 150},     // 3/8
                                         ScaleCase{160, 120, 80, 60, 160, 120},     // 1/1
                                         ScaleCase{100, 100, 80, 80, 100, 100},     // 1/1
                                         ScaleCase{40, 30, 80, 60, 40, 30},         // small
                                         ScaleCase{1610, 10, 80, 0, 202, 2},        // flat box
                                         ScaleCase{2000, 3000, 53, 80, 250, 375}), // 1/8
                         RowNames([](const ScaleCase& c) {
                             return std::to_string(c.width) + " x " + std::to_string(c.height) +
                                    " in " + std::to_string(c.boxWidth) + " x " +
                                    std::to_string(c.boxHeight);
                         }));

struct PreviewScaleCase {
    int width, height;
    double ratio;
    QSize decoded;
};

class JpegPreviewScale : public testing::TestWithParam<PreviewScaleCase> {};

// The box comes from the header's own proportions, in device pixels.
TEST_P(JpegPreviewScale, CoversTwiceTheBoxOnTheScreen)
{
    const PreviewScaleCase& c = GetParam();
    const preview::DecodedJpeg decoded =
        preview::DecodeJpegForPreview(WriteTestJpeg(c.width, c.height), c.ratio);
    EXPECT_EQ(decoded.width, c.width);
    EXPECT_EQ(decoded.height, c.height);
    EXPECT_EQ(decoded.image.size(), c.decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, JpegPreviewScale,
    testing::Values(PreviewScaleCase{1920, 1080, 1.0, {240, 135}},  // box 80 x 45: 1/8
                    PreviewScaleCase{1920, 1080, 2.0, {480, 270}},  // 160 x 90 device: 2/8
                    PreviewScaleCase{640, 480, 1.0, {160, 120}},    // 2/8
                    PreviewScaleCase{640, 480, 2.0, {320, 240}},    // 4/8
                    PreviewScaleCase{640, 480, 1.5, {240, 180}},    // 120 x 90 device: 3/8
                    PreviewScaleCase{1610, 10, 1.0, {202, 2}},      // flat box: 1/8
                    PreviewScaleCase{100, 100, 2.0, {100, 100}}),  // small: full scale
    RowNames([](const PreviewScaleCase& c) {
        return std::to_string(c.width) + " x " + std::to_string(c.height) + " at " +
               std::to_string(static_cast<int>(c.ratio * 10)) + " tenths";
    }));

// A damaged header may claim a progressive picture of 60000 x 60000 in a few hundred bytes;
// the library then refuses to set aside its gigabytes of coefficients.
TEST(JpegDecoder, HugeProgressiveClaimIsRefused)
{
    std::string bytes = WriteTestJpeg(16, 16, 75, true);
    const std::size_t sof = bytes.find("\xff\xc2");
    ASSERT_NE(sof, std::string::npos);
    for (std::size_t at : {sof + 5, sof + 7}) {
        bytes[at] = static_cast<char>(0xEA);  // 60000 = 0xEA60
        bytes[at + 1] = static_cast<char>(0x60);
    }
    for (int box : {-1, 80}) {
        try {
            preview::DecodeJpeg(bytes, box, box);
            ADD_FAILURE() << "decoded";
        } catch (const preview::EJpegError& e) {
            // Full scale: the bitmap is too big. Reduced: the library's own buffers are.
            EXPECT_EQ(e.messageCode(), box < 0 ? JERR_OUT_OF_MEMORY : JERR_NO_BACKING_STORE);
        }
    }
}

TEST(JpegDecoder, ProgressiveFileDecodesScaled)
{
    const preview::DecodedJpeg decoded =
        preview::DecodeJpeg(WriteTestJpeg(640, 480, 80, true), 80, 60);
    EXPECT_EQ(decoded.image.size(), QSize(160, 120));
}

TEST(JpegDecoder, NotAJpegGivesTheLibraryCode)
{
    EXPECT_EQ(DecoderError("just some text\n"), JpegErrorText(JERR_NO_SOI));
    EXPECT_EQ(DecoderError(""), JpegErrorText(JERR_INPUT_EMPTY));
}

TEST(JpegDecoder, ErrorKeepsTheCode)
{
    try {
        preview::DecodeJpeg("plain");
        FAIL() << "decoded";
    } catch (const preview::EJpegError& e) {
        EXPECT_EQ(e.messageCode(), JERR_NO_SOI);
        const PelkorinError& base = e;
        EXPECT_STREQ(base.what(), JpegErrorText(JERR_NO_SOI).c_str());
    }
}

TEST(JpegDecoder, TruncatedFileIsShown)
{
    const std::string whole = WriteTestJpeg(128, 96);
    const preview::DecodedJpeg decoded = preview::DecodeJpeg(whole.substr(0, whole.size() / 2));
    EXPECT_EQ(decoded.image.size(), QSize(128, 96));
    // The top survives; the library fills the missing part.
    EXPECT_LT(qGreen(decoded.image.pixel(64, 1)), 40);
}

TEST(JpegDecoder, HeaderOnlyCutIsAnError)
{
    const std::string whole = WriteTestJpeg(32, 32);
    EXPECT_EQ(DecoderError(whole.substr(0, 2)).rfind("JPEG ｴﾗｰ #", 0), 0u);
}

std::string OpenErrorOf(const std::string& path)
{
    try {
        preview::LoadJpegForPreview(path, 1.0);
    } catch (const preview::EJpegOpenError& e) {
        const EFileError& base = e;
        return base.what();
    } catch (const preview::EJpegError& e) {
        return e.what();
    }
    return "decoded";
}

TEST(JpegFile, LoadsFromDisk)
{
    TempFolder folder;
    const std::string bytes = WriteTestJpeg(640, 480);
    const std::string path = folder.Write("photo.jpg", bytes);
    const preview::DecodedJpeg decoded = preview::LoadJpegForPreview(path, 1.0);
    EXPECT_EQ(decoded.width, 640);
    EXPECT_EQ(decoded.height, 480);
    EXPECT_EQ(decoded.image.size(), preview::DecodeJpegForPreview(bytes, 1.0).image.size());
}

TEST(JpegFile, MissingFolderAndUnreadableGiveTheOpenError)
{
    TempFolder folder;
    const std::string missing = folder.path() + "/gone.jpg";
    EXPECT_EQ(OpenErrorOf(missing), "ﾌｧｲﾙ " + missing + " は開けません");

    const std::string directory = folder.path() + "/x.jpg";
    fs::create_directory(directory);
    EXPECT_EQ(OpenErrorOf(directory), "ﾌｧｲﾙ " + directory + " は開けません");

    const std::string rawName = folder.Write("\xff\xfe.jpg", "text");
    EXPECT_EQ(OpenErrorOf(rawName), JpegErrorText(JERR_NO_SOI));
}

TEST(JpegFile, UnreadableFileGivesTheOpenError)
{
    TempFolder folder;
    const std::string path = folder.Write("locked.jpg", WriteTestJpeg(16, 16));
    fs::permissions(path, fs::perms::none);
    WithoutPermissionOverride asUser;
    // access() would answer for the real user id, root; opening answers for this thread.
    if (const int fd = open(path.c_str(), O_RDONLY); fd >= 0) {
        close(fd);
        GTEST_SKIP() << "this user reads every file";
    }
    EXPECT_EQ(OpenErrorOf(path), "ﾌｧｲﾙ " + path + " は開けません");
}

TEST(JpegFile, EmptyAndTextFilesGiveTheDecoderError)
{
    TempFolder folder;
    EXPECT_EQ(OpenErrorOf(folder.Write("empty.jpg", "")), JpegErrorText(JERR_INPUT_EMPTY));
    EXPECT_EQ(OpenErrorOf(folder.Write("notes.jpg", "shopping list\nmilk\n")),
              JpegErrorText(JERR_NO_SOI));
}

// Damaged files of every kind end with a picture or the decoder error.
TEST(JpegDecoder, DamagedFilesNeverCrash)
{
    const std::string original = WriteTestJpeg(48, 40, 75);
    const std::string progressive = WriteTestJpeg(40, 32, 75, true);
    std::mt19937 random(20261208);
    const char* markers[] = {"\xff\xd8", "\xff\xd9", "\xff\xc0", "\xff\xc4", "\xff\xda",
                             "\xff\xdb", "\xff\xdd\x00\x04\x00\x01", "\xff\xc2", "\xff\x00"};
    int pictures = 0;
    int errors = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = round % 3 == 0 ? progressive : original;
        const int kind = static_cast<int>(random() % 4);
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            const std::size_t at = random() % bytes.size();
            switch (kind) {
            case 0:
                bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8)));
                break;
            case 1:
                bytes[at] = static_cast<char>(random());
                break;
            case 2:
                bytes.insert(at, markers[random() % std::size(markers)]);
                break;
            default:
                bytes.resize(at);
                break;
            }
        }
        const bool box = round % 2 == 0;
        try {
            const preview::DecodedJpeg decoded =
                box ? preview::DecodeJpeg(bytes, 80, 60) : preview::DecodeJpeg(bytes);
            ASSERT_FALSE(decoded.image.isNull()) << round;
            ASSERT_GT(decoded.width, 0);
            ASSERT_GT(decoded.height, 0);
            ++pictures;
        } catch (const preview::EJpegError& e) {
            ASSERT_EQ(std::string(e.what()), JpegErrorText(e.messageCode()));
            ++errors;
        }
    }
    // Both outcomes occur, so the damage is neither always fatal nor always harmless.
    EXPECT_GT(pictures, 100);
    EXPECT_GT(errors, 100);
}

} // namespace
