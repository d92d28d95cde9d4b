// The system's reason for a failure as text, made thread-safely (the
// recovery writer fails on a thread of its own).
#pragma once

#include <string>

namespace tessel {

// "No space left on device" for ENOSPC.
std::string systemReason(int error);

// "<what>: <the system's reason>".
std::string because(const std::string& what, int error);

} // namespace tessel
