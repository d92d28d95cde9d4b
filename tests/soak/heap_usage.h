// Bytes of heap the process holds now: the sanitizer allocator's own count
// under AddressSanitizer, glibc's mallinfo2() otherwise. Used to show that a
// long session does not keep growing.
#pragma once

#include <cstddef>

namespace tessel::testing {

std::size_t heapBytesInUse();

} // namespace tessel::testing
