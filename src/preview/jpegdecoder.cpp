#include "preview/jpegdecoder.h"

#include "metadata/orientation.h"
#include "platform/filesystem.h"
#include "platform/filestart.h"
#include "preview/thumbnail.h"

#include <csetjmp>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include <QTransform>

#include <jerror.h>
#include <jpeglib.h>

namespace preview {

namespace {

// An output bitmap larger than this is refused as the library refuses any other allocation
// it can't make; damaged headers can claim sizes near 65500 x 65500.
constexpr std::size_t MaxOutputBytes = std::size_t{1} << 30;
// The start of a file read before decoding: it holds the EXIF block that says how the
// picture stands.
constexpr std::size_t HeadBytes = 128 * 1024;
// What is read of a file at most: up to the start of the picture data (a header with its
// markers, of a few megabytes at most in real photos), and in all. Beyond, the file is taken
// to end there, so a file of garbage after a JPEG's first bytes never holds the window for
// long.
constexpr std::size_t MaxHeaderBytes = std::size_t{16} << 20;
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

// A file handed to the library piece by piece as it decodes: first the start already read,
// then the rest of the file. So a huge file is never held in memory, and one that is no JPEG
// fails on its first bytes. Plain data only, as RawDecode.
struct StreamSource {
    jpeg_source_mgr pub;
    const char* head;
    std::size_t headSize;
    bool headServed;
    bool startOfFile;
    bool headerRead;     // the library has read the header up to the picture data
    std::size_t served;  // bytes of the file handed over so far
    platform::FileStartReader* file;
    JOCTET buffer[64 * 1024];
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// As the library's own file source: an empty file is its error, a file that ends early gets
// an end-of-image marker and a warning.
boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    StreamSource* source = reinterpret_cast<StreamSource*>(cinfo->src);
    if (!source->headServed) {
        source->headServed = true;
        if (source->headSize > 0) {
            source->pub.next_input_byte = reinterpret_cast<const JOCTET*>(source->head);
            source->pub.bytes_in_buffer = source->headSize;
            source->served = source->headSize;
            source->startOfFile = false;
            return TRUE;
        }
    }
    const std::size_t limit = source->headerRead ? MaxFileBytes : MaxHeaderBytes;
    std::size_t got = source->served < limit
                          ? source->file->ReadNext(reinterpret_cast<char*>(source->buffer), sizeof source->buffer)
                          : 0;
    source->served += got;
    if (got == 0) {
        if (source->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        got = 2;
    }
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = got;
    source->startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    jpeg_source_mgr* source = cinfo->src;
    if (count <= 0)
        return;
    while (count > static_cast<long>(source->bytes_in_buffer)) {
        count -= static_cast<long>(source->bytes_in_buffer);
        FillInputBuffer(cinfo);
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= static_cast<std::size_t>(count);
}

// Plain data only: it lives across setjmp/longjmp.
struct RawDecode {
    const unsigned char* input;
    unsigned long inputSize;
    StreamSource* stream;  // set: the input comes from here instead
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
    if (job->stream) {
        StreamSource* source = job->stream;
        source->pub.init_source = InitSource;
        source->pub.fill_input_buffer = FillInputBuffer;
        source->pub.skip_input_data = SkipInputData;
        source->pub.resync_to_restart = jpeg_resync_to_restart;
        source->pub.term_source = TermSource;
        source->pub.bytes_in_buffer = 0;
        source->pub.next_input_byte = nullptr;
        source->headServed = false;
        source->startOfFile = true;
        source->headerRead = false;
        source->served = 0;
        cinfo.src = &source->pub;
    } else {
        jpeg_mem_src(&cinfo, job->input, job->inputSize);
    }
    jpeg_read_header(&cinfo, TRUE);
    if (job->stream)
        job->stream->headerRead = true;
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
    // Every row is there: what follows the picture data (up to its end marker, or through
    // whatever stands in a damaged file's place) is not read.
    jpeg_abort_decompress(&cinfo);
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

// Decodes what the job is given, the picture standing as orientation says.
DecodedJpeg Decode(RawDecode& job, int orientation)
{
    job.swapSides = OrientationSwapsSides(orientation);
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

DecodedJpeg Decode(RawDecode& job, std::string_view bytes, int orientation)
{
    job.input = reinterpret_cast<const unsigned char*>(bytes.data());
    job.inputSize = static_cast<unsigned long>(bytes.size());
    return Decode(job, orientation < 0 ? ExifOrientationFromBytes(bytes) : orientation);
}

RawDecode PreviewJob(double devicePixelRatio)
{
    RawDecode job{};
    job.boxWidth = -1;
    job.boxHeight = -1;
    job.previewRatio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    return job;
}

} // namespace

DecodedJpeg DecodeJpeg(const std::string& bytes, int boxWidth, int boxHeight)
{
    RawDecode job{};
    job.boxWidth = boxWidth < 0 || boxHeight < 0 ? -1 : boxWidth;
    job.boxHeight = boxWidth < 0 || boxHeight < 0 ? -1 : boxHeight;
    return Decode(job, bytes, -1);
}

DecodedJpeg DecodeJpegForPreview(std::string_view bytes, double devicePixelRatio, int orientation)
{
    RawDecode job = PreviewJob(devicePixelRatio);
    return Decode(job, bytes, orientation);
}

std::string ReadFileHead(platform::FileStartReader& file)
{
    std::string head(HeadBytes, '\0');
    head.resize(file.ReadUpTo(head.data(), 0, head.size()));
    return head;
}

DecodedJpeg DecodeJpegFileForPreview(platform::FileStartReader& file, const std::string& head,
                                     double devicePixelRatio)
{
    auto source = std::make_unique<StreamSource>();
    source->head = head.data();
    source->headSize = head.size();
    source->file = &file;
    RawDecode job = PreviewJob(devicePixelRatio);
    job.stream = source.get();
    return Decode(job, ExifOrientationFromBytes(head));
}

DecodedJpeg LoadJpegForPreview(const std::string& path, double devicePixelRatio)
{
    platform::FileStartReader file(path);
    if (!file.valid())
        throw EJpegOpenError(path);
    return DecodeJpegFileForPreview(file, ReadFileHead(file), devicePixelRatio);
}

} // namespace preview
