// Whole files in and out, for the pictures, palettes and patches that the
// interchange layer reads and writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "file/outcome.h"

namespace tessel {

// The file's bytes; a file larger than `maxBytes` is refused unread.
Outcome<std::vector<std::uint8_t>> readWholeFile(const std::string& path, std::size_t maxBytes);

// Writes `bytes` to a new file beside `path` and renames it over `path`, so
// that a failure leaves whatever was there before. Empty on success, else
// the reason.
std::string writeWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

// True when both paths name one existing file (also through links).
bool namesSameFile(const std::string& a, const std::string& b);

// The part of the file name after its last dot, in lower case; empty when
// the name has no dot.
std::string lowerCaseExtension(const std::string& path);

} // namespace tessel
