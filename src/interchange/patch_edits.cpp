#include "interchange/patch_edits.h"

#include <cstdio>

#include "file/durable_file.h"
#include "file/file_access.h"
#include "file/path_names.h"
#include "model/edit_marks.h"
#include "rom/palette_codec.h"
#include "rom/rom_session.h"
#include "rom/tile_codec.h"

namespace tessel {
namespace {

constexpr std::size_t kMaxPatchBytes = std::size_t{64} << 20;

// Bytes [offset, offset + n) of the patched file at copier-image offsets,
// 0xFF past its end as the file layer reads them.
std::vector<std::uint8_t> patchedBytes(const PatchedRom& rom, long long offset, std::size_t n)
{
    std::vector<std::uint8_t> bytes(n, 0xFF);
    const long long first = offset - (rom.copierHeader ? 0 : RomFile::kCopierHeaderBytes);
    for (std::size_t i = 0; i < n; ++i) {
        const long long at = first + static_cast<long long>(i);
        if (at >= 0 && at < static_cast<long long>(rom.patched.size())) bytes[i] = rom.patched[static_cast<std::size_t>(at)];
    }
    return bytes;
}

std::string counted(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

Outcome<PatchedRom> patchOpenRom(const RomDocument& document, const std::string& patchPath)
{
    using Result = Outcome<PatchedRom>;
    const auto format = patchFormat(patchPath);
    if (!format) return Result::failure("Cannot read " + patchPath + ": a patch is chosen by its extension, .bps or .ips");
    const auto patch = readWholeFile(patchPath, kMaxPatchBytes);
    if (!patch) return Result::failure(patch.error);
    const RomFile& file = document.romFile;
    const Outcome<long long> size = file.size();
    if (!size) return Result::failure(size.error);
    const long long shift = file.hasCopierHeader() ? 0 : RomFile::kCopierHeaderBytes;
    std::vector<std::uint8_t> rom(static_cast<std::size_t>(size.value - shift));
    if (IoResult r = file.read(shift, rom); !r) return Result::failure("Cannot read the ROM: " + r.error);
    PatchedRom result;
    result.copierHeader = file.hasCopierHeader();
    auto patched = applyRomPatch(*format, patch.value, rom, baseName(file.path()));
    if (!patched) return Result::failure(patched.error);
    result.patched = std::move(patched.value);
    result.effect = romPatchEffect(rom, result.patched);
    return Result::success(std::move(result));
}

std::string otherBytesRefusal(const PatchedRom& rom, const std::string& instead)
{
    const auto lines = describePatchEffect({{}, {}, {rom.effect.other.front()}});
    return "The patch changes bytes other than sprites and palettes (" + lines.front() + (rom.effect.other.size() > 1 ? " and more" : "") +
           "), so it is not applied to the ROM itself; " + instead;
}

void takePatchedSprites(RomDocument& document, const PatchedRom& rom, const BeforeChange& beforeChange)
{
    for (int s : rom.effect.sprites) {
        SpriteRecord record = document.spriteStore[s];
        const std::size_t n = static_cast<std::size_t>(record.widthTiles * record.heightTiles * kTileBytes);
        decodeSprite(patchedBytes(rom, record.romOffset, n).data(), record);
        if (beforeChange) beforeChange(s);
        document.spriteStore[s].pixels = record.pixels;
        markSpritePending(document, s);
    }
}

RawPalette patchedPalette(const RomDocument& document, const PatchedRom& rom, int palette)
{
    RawPalette raw = document.rawPalettes[palette];
    DisplayPalette display;
    decodePalette(patchedBytes(rom, kPaletteBlockOffset + palette * kPaletteBytes, kPaletteBytes).data(), raw, display);
    return raw;
}

IoResult writePatchedCopy(const std::string& out, const std::string& romPath, const PatchedRom& rom)
{
    if (IoResult r = exportTarget(out, romPath); !r) return r;
    return writeWholeFile(out, rom.patched);
}

std::string spritesAndPalettes(const PatchEffect& effect)
{
    if (effect.sprites.empty() && effect.palettes.empty()) return "no sprite or palette";
    if (effect.palettes.empty()) return counted(effect.sprites.size(), "sprite", "sprites");
    if (effect.sprites.empty()) return counted(effect.palettes.size(), "palette", "palettes");
    return counted(effect.sprites.size(), "sprite", "sprites") + " and " +
           counted(effect.palettes.size(), "palette", "palettes");
}

} // namespace tessel
