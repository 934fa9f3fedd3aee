// The capture time of any bytes of a file's start: a time or none, never a crash or a hang,
// and a time found is always a real date that prints back to itself.
#include "metadata/capturetime.h"

#include "check.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Wanting fewer bytes than are there would make the reader stop short of a block.
    FUZZ_CHECK(ExifBytesWanted(bytes) >= size);

    if (const std::optional<CaptureTime> time = CaptureTimeFromBytes(bytes)) {
        FUZZ_CHECK(time->Nanoseconds < 1000000000u);
        const std::string text = CaptureTimeText(*time);
        FUZZ_CHECK(text.size() == 29);
        FUZZ_CHECK(ExifDateTimeSeconds(std::string_view(text).substr(0, 19)) == time->Seconds);
    }

    // The same bytes read as a date text: only a real date gives seconds, and they print back.
    if (const std::optional<int64_t> seconds = ExifDateTimeSeconds(bytes))
        FUZZ_CHECK(CaptureTimeText({*seconds, 0}).substr(0, 19) == bytes);
    return 0;
}
