#include "preview/jpegdecoder.h"

#include "metadata/orientation.h"
#include "platform/filesystem.h"
#include "preview/thumbnail.h"

#include <csetjmp>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <QTransform>

#include <jerror.h>
#include <jpeglib.h>

namespace preview {

namespace {

// An output bitmap larger than this is refused as the library refuses any other allocation
// it can't make; damaged headers can claim sizes near 65500 x 65500.
constexpr std::size_t MaxOutputBytes = std::size_t{1} << 30;
// Nothing the preview shows comes from a file this large.
constexpr std::size_t MaxFileBytes = std::size_t{1} << 30;
// The library's own working memory (the coefficients of a progressive file above all) stays
// below this; a damaged header claiming a huge progressive image then fails with the
// library's own error instead of the machine running out of memory.
constexpr long MaxLibraryBytes = 1L << 30;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void OutputMessage(j_common_ptr) {}
void EmitMessage(j_common_ptr, int) {}

// Plain data only: it lives across setjmp/longjmp.
struct RawDecode {
    const unsigned char* input;
    unsigned long inputSize;
    int boxWidth;
    int boxHeight;
    double previewRatio;  // > 0: the box is the preview box of the standing size, times this
    bool swapSides;       // the picture is shown on its side: the box is of the turned picture
    int width;
    int height;
    int outputWidth;
    int outputHeight;
    std::size_t stride;
    unsigned char* pixels;  // malloc'ed, owned by the caller on success
    int messageCode;
};

// The only function that calls libjpeg. No object with a destructor lives here, so the
// error exit's longjmp skips nothing; on failure the bitmap is freed and the code is kept.
bool DecodeRaw(RawDecode* job)
{
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = ErrorExit;
    errors.pub.output_message = OutputMessage;
    errors.pub.emit_message = EmitMessage;
    job->pixels = nullptr;
    if (setjmp(errors.jump)) {
        job->messageCode = errors.pub.msg_code;
        std::free(job->pixels);
        job->pixels = nullptr;
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = MaxLibraryBytes;
    jpeg_mem_src(&cinfo, job->input, job->inputSize);
    jpeg_read_header(&cinfo, TRUE);
    job->width = static_cast<int>(cinfo.image_width);
    job->height = static_cast<int>(cinfo.image_height);
    if (job->previewRatio > 0) {
        const PictureBox box = job->swapSides ? PictureBoxFor(job->height, job->width)
                                              : PictureBoxFor(job->width, job->height);
        job->boxWidth = static_cast<int>(std::ceil(box.width * job->previewRatio));
        job->boxHeight = static_cast<int>(std::ceil(box.height * job->previewRatio));
    }
    // The scale is chosen on the picture as stored, which covers the turned box turned back.
    if (job->swapSides) {
        const int boxWidth = job->boxWidth;
        job->boxWidth = job->boxHeight;
        job->boxHeight = boxWidth;
    }

    cinfo.out_color_space = JCS_RGB;
    cinfo.do_block_smoothing = TRUE;
    cinfo.buffered_image = FALSE;
    cinfo.scale_num = 8;
    cinfo.scale_denom = 8;
    if (job->boxWidth >= 0 && job->boxHeight >= 0) {
        const unsigned long needWidth = 2ul * static_cast<unsigned long>(job->boxWidth);
        const unsigned long needHeight = 2ul * static_cast<unsigned long>(job->boxHeight);
        for (unsigned int eighths = 1; eighths < 8; ++eighths) {
            cinfo.scale_num = eighths;
            jpeg_calc_output_dimensions(&cinfo);
            if (cinfo.output_width >= needWidth && cinfo.output_height >= needHeight)
                break;
            cinfo.scale_num = 8;
        }
    }
    jpeg_calc_output_dimensions(&cinfo);
    job->outputWidth = static_cast<int>(cinfo.output_width);
    job->outputHeight = static_cast<int>(cinfo.output_height);
    job->stride = (static_cast<std::size_t>(cinfo.output_width) * 3 + 3) & ~std::size_t{3};
    if (job->stride * cinfo.output_height > MaxOutputBytes)
        ERREXIT1(&cinfo, JERR_OUT_OF_MEMORY, 0);
    job->pixels = static_cast<unsigned char*>(std::malloc(job->stride * cinfo.output_height));
    if (!job->pixels)
        ERREXIT1(&cinfo, JERR_OUT_OF_MEMORY, 0);

    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = job->pixels + job->stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

void FreePixels(void* pixels)
{
    std::free(pixels);
}

} // namespace

EJpegError::EJpegError(int messageCode)
    : PelkorinError("JPEG ｴﾗｰ #" + std::to_string(messageCode)), messageCode_(messageCode)
{
}

EJpegOpenError::EJpegOpenError(const std::string& path)
    : EFileError("ﾌｧｲﾙ " + path + " は開けません")
{
}

namespace {

// The stored picture turned and mirrored so that it stands as the orientation says it was
// taken; 1 and anything unknown leave it as stored.
QImage StandAsTaken(QImage stored, int orientation)
{
    const auto turned = [&](qreal degrees) { return stored.transformed(QTransform().rotate(degrees)); };
    switch (orientation) {
    case 2: return stored.mirrored(true, false);
    case 3: return stored.mirrored(true, true);
    case 4: return stored.mirrored(false, true);
    case 5: return turned(90).mirrored(true, false);
    case 6: return turned(90);
    case 7: return turned(90).mirrored(false, true);
    case 8: return turned(270);
    default: return stored;
    }
}

DecodedJpeg Decode(RawDecode& job, const std::string& bytes)
{
    const int orientation = ExifOrientationFromBytes(bytes);
    job.swapSides = OrientationSwapsSides(orientation);
    job.input = reinterpret_cast<const unsigned char*>(bytes.data());
    job.inputSize = static_cast<unsigned long>(bytes.size());
    if (!DecodeRaw(&job))
        throw EJpegError(job.messageCode);

    DecodedJpeg result;
    result.width = job.swapSides ? job.height : job.width;
    result.height = job.swapSides ? job.width : job.height;
    // The bitmap is handed over as it is: no copy of a large picture that stands as stored.
    result.image = StandAsTaken(QImage(job.pixels, job.outputWidth, job.outputHeight,
                                       static_cast<qsizetype>(job.stride), QImage::Format_RGB888,
                                       FreePixels, job.pixels),
                                orientation);
    return result;
}

std::string ReadJpegFile(const std::string& path)
{
    try {
        return platform::ReadWholeFile(path, MaxFileBytes);
    } catch (const EFileError&) {
        throw EJpegOpenError(path);
    }
}

} // namespace

DecodedJpeg DecodeJpeg(const std::string& bytes, int boxWidth, int boxHeight)
{
    RawDecode job{};
    job.boxWidth = boxWidth < 0 || boxHeight < 0 ? -1 : boxWidth;
    job.boxHeight = boxWidth < 0 || boxHeight < 0 ? -1 : boxHeight;
    return Decode(job, bytes);
}

DecodedJpeg DecodeJpegForPreview(const std::string& bytes, double devicePixelRatio)
{
    RawDecode job{};
    job.boxWidth = -1;
    job.boxHeight = -1;
    job.previewRatio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    return Decode(job, bytes);
}

DecodedJpeg LoadJpegForPreview(const std::string& path, double devicePixelRatio)
{
    return DecodeJpegForPreview(ReadJpegFile(path), devicePixelRatio);
}

} // namespace preview
