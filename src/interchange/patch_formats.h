// Patches that turn a clean ROM into the edited one, for sharing edits
// without the game's bytes.
//
// BPS: "BPS1", the source size, the target size and the metadata size (0)
// as variable-length numbers, actions (SourceRead for unchanged stretches,
// TargetRead for changed bytes, TargetCopy for long runs of one byte), then
// the CRC32 of source, target and of the patch itself, little-endian.
// IPS: "PATCH", records of a 3-byte big-endian offset, a 2-byte size (at
// most 65,535) and the bytes, or of the offset, size 0, a 2-byte count and
// one byte value repeated that often; then "EOF". No record starts at 0x454F46,
// whose offset bytes would read as "EOF"; such a record starts one byte
// earlier. IPS reaches only 16 MiB and cannot make a file shorter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "file/outcome.h"

namespace tessel {

enum class PatchFormat { Bps, Ips };

inline constexpr std::size_t kIpsMaxRecord = 65535;
inline constexpr std::size_t kIpsEofOffset = 0x454F46;
inline constexpr std::size_t kIpsMaxTarget = std::size_t{1} << 24;

// By the extension (.bps, .ips, any case); nothing for any other name.
std::optional<PatchFormat> patchFormat(const std::string& path);

Outcome<std::vector<std::uint8_t>> makeBpsPatch(std::span<const std::uint8_t> source,
                                                std::span<const std::uint8_t> target);
Outcome<std::vector<std::uint8_t>> makeIpsPatch(std::span<const std::uint8_t> source,
                                                std::span<const std::uint8_t> target);

// The image as a dump has it: a copier image without its 512-byte header,
// any other image as it is.
std::span<const std::uint8_t> withoutCopierHeader(std::span<const std::uint8_t> image);

// A patch between two ROM images of the game, refused when either is not
// one. Both are compared without their copier headers, as patches for the
// game are made, so that the patch applies to the dump players have (and,
// through apply-patch, to a copier image too).
Outcome<std::vector<std::uint8_t>> makeRomPatch(PatchFormat format, std::span<const std::uint8_t> clean,
                                                std::span<const std::uint8_t> edited);
// The same through files, the format from the patch's extension. On
// failure nothing is written.
IoResult exportRomPatch(const std::string& patchPath, const std::string& cleanPath,
                           const std::string& editedPath);

} // namespace tessel
