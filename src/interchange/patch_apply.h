// Applying a BPS or IPS patch to a ROM of the game, and what a patch
// changes in the game's terms: sprites, palettes and other bytes.
//
// applyRomPatch: (BPS) the patch's own CRC-32 -> its source size and CRC-32
//                against the ROM without its copier header, then with it ->
//                the actions -> the target's CRC-32; (IPS) the records over
//                the ROM without its header, as patches for the game are
//                made. The result is the whole patched file, the ROM's
//                copier header (when it has one) kept in front.
// romPatchEffect: the bytes that differ between the ROM and the patched
//                file -> patchEffect.
// patchWrites:   the byte ranges a patch writes, read from the patch alone
//                (patch-info without a ROM).
//
// Every offset here is that of a copier image (the program's own offsets,
// rom/rom_kind.h); a dump's bytes lie 512 lower.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "file/outcome.h"
#include "interchange/patch_formats.h"

namespace tessel {

using PatchBytes = std::vector<std::uint8_t>;

// A patched target is never taken larger than this.
inline constexpr std::size_t kMaxPatchTarget = std::size_t{64} << 20;

// The target of a patch applied to `source`; a damaged patch, or one made
// for another source, is refused with a sentence saying so.
Outcome<PatchBytes> applyBpsPatch(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source);
Outcome<PatchBytes> applyIpsPatch(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source);

// The ROM file `rom` with `patch` applied (see above). The sentence of a
// refusal names the ROM as `romName`.
Outcome<PatchBytes> applyRomPatch(PatchFormat format, std::span<const std::uint8_t> patch,
                                  std::span<const std::uint8_t> rom, const std::string& romName);

struct ByteRange {
    std::size_t begin = 0, end = 0; // [begin, end), copier-image offsets
    friend bool operator==(const ByteRange&, const ByteRange&) = default;
};

// What a patch changes. Palettes are those whose colours 1..15 change and
// nothing else (as the palette editor's Apply Changes writes them); colour
// 0, bit 15 of a colour, the gaps between sprites and every other byte are
// `other`. A change of the file's length is `other` too.
struct PatchEffect {
    std::vector<int> sprites;      // ascending
    std::vector<int> palettes;     // ascending
    std::vector<ByteRange> other;  // ascending, apart from each other
    bool onlyArt() const { return other.empty(); }
};

// The changed ranges in the game's terms.
PatchEffect patchEffect(std::span<const ByteRange> changed);
// What turning the ROM file `before` into `after` changes.
PatchEffect romPatchEffect(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after);

// The ranges a patch writes, ascending and apart; a BPS patch's source of
// 0x200200 bytes is a copier image, any other source (and every IPS patch)
// a dump without the header.
Outcome<std::vector<ByteRange>> patchWrites(PatchFormat format, std::span<const std::uint8_t> patch);

// One line per changed sprite, palette and other range:
// "sprite 18", "palette 5", "bytes 0x00FFC0-0x00FFDF (32 bytes, 0x00FDC0 in a dump)".
std::vector<std::string> describePatchEffect(const PatchEffect& effect);

} // namespace tessel
