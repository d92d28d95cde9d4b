// Names taken apart: the plain text of a path, no system call.
#pragma once

#include <string>

namespace tessel {

// The final part of a path ("game.smc" of "/roms/game.smc/").
std::string baseName(const std::string& path);

// The part of the file name after its last dot, in lower case; empty when
// the name has no dot.
std::string lowerCaseExtension(const std::string& path);

} // namespace tessel
