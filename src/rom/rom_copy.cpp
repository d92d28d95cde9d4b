#include "rom/rom_copy.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "file/durable_file.h"
#include "file/file_access.h"
#include "file/path_names.h"
#include "model/edit_marks.h"
#include "rom/tile_codec.h"

namespace tessel {

namespace {

constexpr int kMaxSpriteTiles = 80;

bool encodable(const SpriteRecord& r)
{
    return r.widthTiles > 0 && r.heightTiles > 0 && r.widthTiles * 8 <= kBufferWidth &&
           r.heightTiles * 8 <= kBufferHeight;
}

} // namespace

Outcome<RomCopy> romAfterSaveAll(const RomDocument& document)
{
    const RomFile& file = document.romFile;
    if (!file.isOpen()) return Outcome<RomCopy>::failure("No ROM is open");
    const Outcome<long long> length = file.size();
    if (!length) return Outcome<RomCopy>::failure(length.error);
    // Offsets are those of a copier image; a dump's bytes start 512 later.
    const long long first = file.hasCopierHeader() ? 0 : RomFile::kCopierHeaderBytes;
    RomCopy copy;
    copy.bytes.resize(static_cast<std::size_t>(std::max(0LL, length.value - first)));
    if (IoResult r = file.read(first, copy.bytes); !r.ok) return Outcome<RomCopy>::failure(r.error);

    std::array<std::uint8_t, kMaxSpriteTiles * kTileBytes> encoded;
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteRecord& record = document.spriteStore[i];
        if (!isSpriteEdited(document, i) || !encodable(record)) continue;
        encodeSprite(record, encoded.data());
        const long long count = 1LL * record.widthTiles * record.heightTiles * kTileBytes;
        // A record outside the sprite area cannot be compared with the copy
        // and is written whole, as a save writes it.
        const bool inArea = record.romOffset >= kSpriteAreaBegin && record.romOffset + count <= kSpriteAreaEnd;
        bool wrote = false, lost = false;
        for (long long t = 0; t < count; t += kTileBytes) {
            const long long at = record.romOffset + t;
            if (inArea && std::memcmp(encoded.data() + t, document.diskSpriteArea.data() + (at - kSpriteAreaBegin),
                                      kTileBytes) == 0)
                continue;
            if (at + kTileBytes > length.value) {
                lost = true;
                continue;
            }
            std::memcpy(copy.bytes.data() + (at - first), encoded.data() + t, kTileBytes);
            wrote = true;
        }
        copy.spritesChanged += wrote;
        if (lost) copy.unsavedSprites.push_back(i);
    }
    return Outcome<RomCopy>::success(std::move(copy));
}

IoResult saveRomCopy(const RomDocument& document, const std::string& path, RomCopy* copy, FileIo& io)
{
    const RomFile& file = document.romFile;
    if (!file.isOpen()) return IoResult::failure("No ROM is open");
    FileKey target;
    const bool exists = fileKeyOfPath(path, target, io).ok;
    if ((exists && target == file.key()) || namesSameFile(path, file.path(), io))
        return IoResult::failure(baseName(path) +
                                 " is the open ROM, or the file now at its place: a copy goes to another file.");
    Outcome<RomCopy> made = romAfterSaveAll(document);
    if (!made) return IoResult::failure(made.error);
    if (IoResult r = replaceFile(path, made.value.bytes, FileMode::Shared, io); !r.ok) return r;
    if (copy) *copy = std::move(made.value);
    return IoResult::success();
}

} // namespace tessel
