#include "preview/jpegdecoder.h"

#include "platform/filesystem.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <jerror.h>
#include <jpeglib.h>

namespace preview {

namespace {

// An output bitmap larger than this is refused as the library refuses any other allocation
// it can't make; damaged headers can claim sizes near 65500 x 65500.
constexpr std::size_t MaxOutputBytes = std::size_t{1} << 30;
// Nothing the preview shows comes from a file this large.
constexpr std::size_t MaxFileBytes = std::size_t{1} << 30;

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
    jpeg_mem_src(&cinfo, job->input, job->inputSize);
    jpeg_read_header(&cinfo, TRUE);
    job->width = static_cast<int>(cinfo.image_width);
    job->height = static_cast<int>(cinfo.image_height);

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

DecodedJpeg DecodeJpeg(const std::string& bytes, int boxWidth, int boxHeight)
{
    RawDecode job{};
    job.input = reinterpret_cast<const unsigned char*>(bytes.data());
    job.inputSize = static_cast<unsigned long>(bytes.size());
    job.boxWidth = boxWidth < 0 || boxHeight < 0 ? -1 : boxWidth;
    job.boxHeight = boxWidth < 0 || boxHeight < 0 ? -1 : boxHeight;
    if (!DecodeRaw(&job))
        throw EJpegError(job.messageCode);

    DecodedJpeg result;
    result.width = job.width;
    result.height = job.height;
    // The bitmap is handed over as it is: no copy of a large picture.
    result.image = QImage(job.pixels, job.outputWidth, job.outputHeight,
                          static_cast<qsizetype>(job.stride), QImage::Format_RGB888, FreePixels,
                          job.pixels);
    return result;
}

DecodedJpeg LoadJpegFile(const std::string& path, int boxWidth, int boxHeight)
{
    std::string bytes;
    try {
        bytes = platform::ReadWholeFile(path, MaxFileBytes);
    } catch (const EFileError&) {
        throw EJpegOpenError(path);
    }
    return DecodeJpeg(bytes, boxWidth, boxHeight);
}

} // namespace preview
