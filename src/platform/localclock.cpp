#include "platform/localclock.h"

#include <ctime>

namespace platform {

int64_t LocalClockOffset(int64_t utcSeconds)
{
    // The zone is looked up again each time: TZ may have changed since the last call.
    tzset();
    const time_t t = static_cast<time_t>(utcSeconds);
    struct tm local {};
    if (!localtime_r(&t, &local))
        return 0;
    return local.tm_gmtoff;
}

} // namespace platform
