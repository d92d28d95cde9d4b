#include "soak/heap_usage.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime; g++ does not install its interface headers.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace tessel::testing {

std::size_t heapBytesInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    // ASan replaces malloc: glibc's counters would see none of it.
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd; // small blocks in use and mmapped ones
#endif
}

} // namespace tessel::testing
