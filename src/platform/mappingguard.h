#pragma once
// Pages of a mapped file that another program cuts short while it is read would end the
// program with SIGBUS. While a mapping is guarded, such a page reads as zeros instead: the
// reader then meets damaged data, which every format reader here already survives.
#include <cstddef>

namespace platform {

// Guards [begin, begin + size) until Unguard; false when no more mappings can be guarded
// (the caller then reads the file another way).
bool GuardMapping(void* begin, std::size_t size);
void UnguardMapping(void* begin);

} // namespace platform
