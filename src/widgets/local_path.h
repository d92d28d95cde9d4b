// File names as the system has them. A name on Linux is any bytes; one that
// is not valid in the locale's encoding does not survive a trip through a
// QString (the bytes become U+FFFD). Paths given as bytes are kept as bytes;
// a path that came back from a file dialog is found again on the disk.
#pragma once

#include <QString>
#include <string>

namespace tessel {

// The bytes of `path` as the system names it: the plain encoding when that
// names an existing file, else each component that does not exist looked
// up among its folder's entries by how its name reads.
std::string localPathOf(const QString& path);

// The same for a file to be written: `extension` (".png") is added when the
// name chosen has none.
std::string localPathWithExtension(const QString& path, const char* extension);

} // namespace tessel
