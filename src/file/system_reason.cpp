#include "file/system_reason.h"

#include <cstring>

namespace tessel {

std::string systemReason(int error)
{
    char buffer[256];
    // The GNU strerror_r returns the text, in `buffer` or a static string.
    return ::strerror_r(error, buffer, sizeof buffer);
}

std::string because(const std::string& what, int error) { return what + ": " + systemReason(error); }

} // namespace tessel
