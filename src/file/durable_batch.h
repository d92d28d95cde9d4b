// Many files of one folder replaced at once, each as replaceFile
// (durable_file.h) replaces one, with one flush for all of them instead of
// two per file: what turns a thousand exports from seconds into a blink.
//
// replaceFilesInFolder: createExclusive + writeAll + close per file ->
//     syncFileSystem once (every temporary on the disk) -> rename each over
//     its target -> syncFolder once.
// A failure before the renames removes every temporary and leaves every
// target as it was; one during the renames keeps the files renamed so far
// (each whole, old or new) and removes the rest.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "file/durable_file.h"

namespace tessel {

struct FileToWrite {
    std::string name; // within the folder
    std::vector<std::uint8_t> bytes;
};

IoResult replaceFilesInFolder(const std::string& dir, std::span<const FileToWrite> files, FileMode mode,
                              FileIo& io = systemFileIo());

} // namespace tessel
