#include "filelist/shiftedkeys.h"

#include "metadata/capturetime.h"

#include <string_view>

void ShiftCaptureKeys(std::vector<std::string>& keys, int64_t offsetSeconds)
{
    if (offsetSeconds == 0)
        return;
    for (std::string& key : keys) {
        // Date keys are digits alone; a capture time's text has its colons.
        if (key.size() != 29 || key[4] != ':' || key[19] != '.')
            continue;
        const std::optional<int64_t> seconds = ExifDateTimeSeconds(std::string_view(key).substr(0, 19));
        if (!seconds)
            continue;
        uint32_t nanos = 0;
        for (std::size_t i = 20; i < 29; ++i)
            nanos = nanos * 10 + static_cast<uint32_t>(key[i] - '0');
        key = CaptureTimeText(CaptureTime{*seconds + offsetSeconds, nanos});
    }
}
