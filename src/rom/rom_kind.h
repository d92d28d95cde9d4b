// Which kind of ROM file this is: a copier image, whose 512-byte header puts
// the game's title at file offset 0x101C0, or a plain dump without that
// header, whose title lies at 0xFFC0. Every file offset the program uses is
// that of a copier image; RomFile::setCopierHeader(false) moves them for a
// dump. A file with the title in neither place is taken as a copier image,
// as it always was.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "file/rom_file.h"

namespace tessel {

inline constexpr long long kCopierTitleOffset = 0x101C0;
inline constexpr long long kHeaderlessTitleOffset = kCopierTitleOffset - RomFile::kCopierHeaderBytes;
inline constexpr int kRomTitleLength = 11;
// An Oakenshore ROM image without a copier header.
inline constexpr long long kOakenshoreImageBytes = 0x200000;

enum class RomKind {
    CopierImage, // title at 0x101C0
    Headerless,  // title at 0xFFC0
    Unknown,     // title in neither place; read as a copier image
};

using RomTitle = std::array<std::uint8_t, kRomTitleLength>;

// What a look at a file found: its length and the 11 bytes at both title
// places (0xFF where the file ends before them).
struct RomProbe {
    RomKind kind = RomKind::Unknown;
    long long fileBytes = 0;
    RomTitle copierTitle{};
    RomTitle headerlessTitle{};

    bool hasCopierHeader() const { return kind != RomKind::Headerless; }
    // The file's length counted as a copier image (a dump's missing header
    // counted in), which is how the sprite offsets are given.
    long long imageBytes() const
    {
        return fileBytes + (hasCopierHeader() ? 0 : RomFile::kCopierHeaderBytes);
    }
    // The file ends before the last sprite's tiles.
    bool endsBeforeSprites() const;
    // How many catalogued sprites have tiles past the end of the file.
    int spritesPastTheEnd() const;
};

// The kind from the two title places: the copier place wins when both match.
RomKind romKindOf(const RomTitle& atCopierOffset, const RomTitle& atHeaderlessOffset);

// Reads both title places and the length through an open RomFile that
// still reads as a copier image (as it does right after open()).
IoResult probeRom(const RomFile& file, RomProbe& probe);

// The 11 bytes as text for a message: printable ASCII as it is, anything
// else as '.'; "(the file ends before)" when every byte lies past the end.
std::string describeTitle(const RomTitle& title, long long titleOffset, long long fileBytes);

} // namespace tessel
