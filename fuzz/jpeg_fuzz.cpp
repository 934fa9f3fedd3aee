// The preview's JPEG decoder on any bytes: it gives a picture whose size agrees with its
// header, or the decoder error with a code of the library's own table; nothing else escapes.
#include "preview/jpegdecoder.h"

#include "check.h"

#include <jerror.h>

#include <cstdint>
#include <string>

namespace {

// The decoder error carries a code of the library's table and says it.
void CheckError(const preview::EJpegError& e)
{
    FUZZ_CHECK(e.messageCode() > 0 && e.messageCode() < JMSG_LASTMSGCODE);
    FUZZ_CHECK(std::string(e.what()) == "JPEG ｴﾗｰ #" + std::to_string(e.messageCode()));
}

void Check(const std::string& bytes, int boxWidth, int boxHeight)
{
    try {
        const preview::DecodedJpeg d = preview::DecodeJpeg(bytes, boxWidth, boxHeight);
        FUZZ_CHECK(d.width > 0 && d.height > 0 && d.width <= 65535 && d.height <= 65535);
        FUZZ_CHECK(!d.image.isNull());
        FUZZ_CHECK(d.image.format() == QImage::Format_RGB888);
        // Scaled by n/8, n from 1 to 8, each side rounded up.
        const int w = d.image.width(), h = d.image.height();
        FUZZ_CHECK(w <= d.width && h <= d.height);
        FUZZ_CHECK(static_cast<long long>(w) * 8 >= d.width);
        FUZZ_CHECK(static_cast<long long>(h) * 8 >= d.height);
        if (boxWidth < 0)
            FUZZ_CHECK(w == d.width && h == d.height);
        // The last row is there to read.
        FUZZ_CHECK(d.image.constScanLine(h - 1) != nullptr);
    } catch (const preview::EJpegError& e) {
        CheckError(e);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the box: none (full scale), a small one or a flat one.
    const unsigned char mode = data[0];
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (mode % 4) {
    case 0: Check(bytes, -1, -1); break;
    case 1: Check(bytes, 80, 60); break;
    case 2: Check(bytes, 160, 0); break;
    default: {
        try {
            const preview::DecodedJpeg d = preview::DecodeJpegForPreview(bytes, 1 + mode % 3);
            FUZZ_CHECK(d.width > 0 && d.height > 0 && !d.image.isNull());
        } catch (const preview::EJpegError& e) {
            CheckError(e);
        }
    }
    }
    return 0;
}
