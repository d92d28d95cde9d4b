#include "rom/unsaved_sprites.h"

#include <array>
#include <cstring>

#include "model/edit_marks.h"
#include "rom/tile_codec.h"

namespace tessel {

namespace {

enum class Comparison { Same, Differs, Unknown };

// The sprite's pixels against the copy of its tiles as last read or written.
Comparison compareWithDisk(const RomDocument& document, int sprite)
{
    const SpriteRecord& r = document.spriteStore[sprite];
    if (r.widthTiles <= 0 || r.heightTiles <= 0 || r.widthTiles * 8 > kBufferWidth ||
        r.heightTiles * 8 > kBufferHeight)
        return Comparison::Same; // no tiles: nothing a save could write
    const long long bytes = 1LL * r.widthTiles * r.heightTiles * kTileBytes;
    if (r.romOffset < kSpriteAreaBegin || r.romOffset + bytes > kSpriteAreaEnd) return Comparison::Unknown;
    std::array<std::uint8_t, 80 * kTileBytes> encoded;
    encodeSprite(r, encoded.data());
    const bool same =
        std::memcmp(encoded.data(), document.diskSpriteArea.data() + (r.romOffset - kSpriteAreaBegin), bytes) == 0;
    return same ? Comparison::Same : Comparison::Differs;
}

} // namespace

bool isSpriteUnsaved(const RomDocument& document, int sprite)
{
    if (!document.romOpen() || !isSpriteEdited(document, sprite)) return false;
    return isSpritePending(document, sprite) || compareWithDisk(document, sprite) != Comparison::Same;
}

int unsavedSpriteCount(const RomDocument& document)
{
    int count = 0;
    for (int i = 0; i < kSpriteCount; ++i) count += isSpriteUnsaved(document, i);
    return count;
}

void settleSpriteMark(RomDocument& document, int sprite)
{
    if (!document.romOpen() || sprite < 0 || sprite >= kSpriteCount || isSpritePending(document, sprite)) return;
    switch (compareWithDisk(document, sprite)) {
    case Comparison::Same:
        if (isSpriteEdited(document, sprite)) clearSpriteEdited(document, sprite);
        break;
    case Comparison::Differs:
        if (!isSpriteEdited(document, sprite)) markSpriteEdited(document, sprite);
        break;
    case Comparison::Unknown: break;
    }
}

} // namespace tessel
