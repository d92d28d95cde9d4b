#include "rom/rom_session.h"

#include <algorithm>
#include <array>

#include "model/edit_marks.h"
#include "rom/palette_codec.h"
#include "rom/sprite_catalogue.h"
#include "rom/tile_codec.h"

namespace tessel {

namespace {

constexpr int kPaletteBlockBytes = kPaletteCount * kPaletteBytes;
constexpr int kMaxSpriteBytes = kBufferSize / 64 * kTileBytes; // 80 tiles

// The whole sprite area, read with one call when a ROM is loaded. Static so
// that opening a ROM allocates nothing; the editor runs on one thread.
std::array<std::uint8_t, kSpriteAreaBytes> areaBuffer;

bool fitsBuffer(const SpriteRecord& r)
{
    return r.widthTiles > 0 && r.heightTiles > 0 && r.widthTiles * 8 <= kBufferWidth &&
           r.heightTiles * 8 <= kBufferHeight;
}

} // namespace

RomIdentity checkRomIdentity(const std::string& path, FileIo& io, const RomFile* heldOpen,
                             std::string* reason, RomProbe* probe)
{
    RomFile file(io);
    RomProbe found;
    IoResult r = file.openBeside(path, heldOpen);
    if (r.ok) r = probeRom(file, found);
    file.close(); // also releases the lock
    if (!r.ok) {
        if (reason) *reason = r.error;
        return RomIdentity::CannotOpen;
    }
    if (probe) *probe = found;
    return found.kind == RomKind::Unknown ? RomIdentity::TitleDiffers : RomIdentity::TitleMatches;
}

IoResult loadAllSprites(RomDocument& document) { return loadAllSprites(document, document.romFile); }

IoResult loadAllSprites(RomDocument& document, const RomFile& file)
{
    std::array<std::uint8_t, kPaletteBlockBytes> palettes;
    if (IoResult r = file.read(kSpriteAreaBegin, areaBuffer); !r.ok) return r;
    if (IoResult r = file.read(kPaletteBlockOffset, palettes); !r.ok) return r;

    initRecordsFromCatalogue(document.spriteStore);
    document.diskSpriteArea = areaBuffer;
    for (SpriteRecord& record : document.spriteStore)
        decodeSprite(areaBuffer.data() + (record.romOffset - kSpriteAreaBegin), record);
    for (int p = 0; p < kPaletteCount; ++p)
        decodePalette(palettes.data() + p * kPaletteBytes, document.rawPalettes[p],
                      document.displayPalettes[p]);
    document.notify(&DocumentObserver::spritesLoaded);
    return IoResult::success();
}

IoResult loadSprite(RomDocument& document, int sprite)
{
    if (sprite < 0 || sprite >= kSpriteCount) return IoResult::failure("No such sprite");
    SpriteRecord& record = document.spriteStore[sprite];
    if (!fitsBuffer(record)) {
        record.pixels.fill(0);
        document.notify(&DocumentObserver::spriteReloaded, sprite);
        return IoResult::success();
    }
    std::array<std::uint8_t, kMaxSpriteBytes> bytes;
    const int count = record.widthTiles * record.heightTiles * kTileBytes;
    if (IoResult r = document.romFile.read(record.romOffset, std::span(bytes.data(), count)); !r.ok)
        return r;
    decodeSprite(bytes.data(), record);
    const long long end = record.romOffset + 1LL * count;
    if (record.romOffset >= kSpriteAreaBegin && end <= kSpriteAreaEnd)
        std::copy_n(bytes.data(), count,
                    document.diskSpriteArea.data() + (record.romOffset - kSpriteAreaBegin));
    document.notify(&DocumentObserver::spriteReloaded, sprite);
    clearSpriteEdited(document, sprite);
    return IoResult::success();
}

IoResult loadPalette(RomDocument& document, int palette)
{
    if (palette < 0 || palette >= kPaletteCount) return IoResult::failure("No such palette");
    std::array<std::uint8_t, kPaletteBytes> bytes;
    if (IoResult r = document.romFile.read(kPaletteBlockOffset + kPaletteBytes * palette, bytes); !r.ok)
        return r;
    decodePalette(bytes.data(), document.rawPalettes[palette], document.displayPalettes[palette]);
    document.notify(&DocumentObserver::paletteChanged, palette);
    return IoResult::success();
}

} // namespace tessel
