// A second Oakenshore ROM beside the open one, to see where the two differ.
// It is only ever read: opened for reading (no lock, no backup, no recovery
// file), loaded by the normal loaders into a document of its own, and its
// file closed again once read.
//
// open(path, edited): RomFile::openReadOnly (a regular file, size cap) ->
//   refused when it is the edited ROM itself (same device and inode) ->
//   probeRom (with or without a copier header; refused without the title)
//   -> loadAllSprites into its own document -> file closed -> compareAll.
// After an edit: updateChanged() looks again at the sprites whose edit mark
// moved since the last look and at the current sprite, and at the palettes;
// updateSprite() looks at one sprite. Both are cheap enough for every
// repaint.
//
// A sprite differs when any pixel of its W x H (the colour index, the low
// four bits) differs between the edited ROM's sprite store as it is in
// memory and the other ROM's. A palette differs when any of colours 1..15
// differs in its 15 colour bits (colour 0 is never read, bit 15 is unused).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/rom_document.h"

namespace tessel {

class RomComparison {
public:
    RomComparison();
    ~RomComparison();
    RomComparison(const RomComparison&) = delete;
    RomComparison& operator=(const RomComparison&) = delete;

    // Reads `path` as the other ROM and compares it with `edited`, which
    // must be open. On failure (a sentence for the user) the comparison
    // that was open stays as it was.
    IoResult open(const std::string& path, const RomDocument& edited, FileIo& io = systemFileIo());
    void close();
    bool isOpen() const { return open_; }
    // The other ROM's path as given to open(); empty when none is open.
    const std::string& path() const { return path_; }
    // Which file it was (device and inode, as taken at open).
    const FileKey& key() const { return key_; }
    // Its sprites and palettes as read (romFile is never open).
    const RomDocument& other() const { return *other_; }

    bool spriteDiffers(int sprite) const;
    bool paletteDiffers(int palette) const;
    int differingSpriteCount() const { return spriteCount_; }
    int differingPaletteCount() const { return paletteCount_; }
    std::vector<int> differingSprites() const;
    std::vector<int> differingPalettes() const;

    // Every sprite and palette looked at again (after `edited` was loaded).
    void compareAll(const RomDocument& edited);
    // One sprite looked at again; true when whether it differs changed.
    bool updateSprite(const RomDocument& edited, int sprite);
    // The sprites whose edit mark was set or cleared since they were last
    // looked at, `current` (which changes without its mark moving), and
    // every palette; true when anything that differs changed.
    bool updateChanged(const RomDocument& edited, int current);

private:
    bool comparePalettes(const RomDocument& edited);

    std::unique_ptr<RomDocument> other_;
    std::string path_;
    FileKey key_{};
    bool open_ = false;
    std::array<bool, kSpriteCount> spriteDiffers_{};
    std::array<bool, kPaletteCount> paletteDiffers_{};
    std::array<std::uint32_t, kSpriteCount> seenMarkCounts_{};
    int spriteCount_ = 0;
    int paletteCount_ = 0;
};

// Whether the W x H pixels of two decoded sprites of the same record differ.
bool spritePixelsDiffer(const SpriteRecord& a, const SpriteRecord& b);

} // namespace tessel
