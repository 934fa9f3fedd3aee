// The capture time, camera and lens of any file's bytes, whatever format they claim: a time
// or none, never a crash or a hang; a time found is always a real date that prints back to
// itself, and the same bytes always tell the same.
#include "metadata/capturetime.h"
#include "metadata/filefacts.h"

#include "check.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Wanting fewer bytes than are there would make the reader stop short of a block.
    FUZZ_CHECK(ExifBytesWanted(bytes) >= size);

    const metadata::FileFacts facts = metadata::FactsFromBytes(bytes);
    FUZZ_CHECK(metadata::FactsFromBytes(bytes) == facts);
    if (const std::optional<CaptureTime> time = facts.Time) {
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
