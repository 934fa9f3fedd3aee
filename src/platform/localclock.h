#pragma once
// The machine's local clock against UTC.
#include <cstdint>

namespace platform {

// Seconds the local clock is ahead of UTC at that moment (the zone as TZ says now).
int64_t LocalClockOffset(int64_t utcSeconds);

} // namespace platform
