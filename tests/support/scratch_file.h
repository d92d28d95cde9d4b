// A file (or directory) with a unique name in the temporary directory,
// removed (a directory with its contents) when the object goes away. Tests
// write ROM images there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessel::testing {

class ScratchFile {
public:
    enum class Kind { File, Directory };
    explicit ScratchFile(Kind kind = Kind::File);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }

    // Replaces the file's contents; throws std::runtime_error on failure.
    void write(const std::vector<std::uint8_t>& bytes) const;
    std::vector<std::uint8_t> read() const;

private:
    Kind kind_;
    std::string path_;
};

// The whole contents of any file; throws std::runtime_error on failure.
std::vector<std::uint8_t> readFileBytes(const std::string& path);

} // namespace tessel::testing
