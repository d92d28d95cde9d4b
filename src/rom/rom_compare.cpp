#include "rom/rom_compare.h"

#include <algorithm>

#include "file/path_names.h"
#include "rom/rom_kind.h"
#include "rom/rom_session.h"

namespace tessel {

namespace {
bool validSprite(int sprite) { return sprite >= 0 && sprite < kSpriteCount; }
} // namespace

bool spritePixelsDiffer(const SpriteRecord& a, const SpriteRecord& b)
{
    const int w = std::clamp(std::min(a.widthPixels(), b.widthPixels()), 0, kBufferWidth);
    const int h = std::clamp(std::min(a.heightPixels(), b.heightPixels()), 0, kBufferHeight);
    if (a.widthTiles != b.widthTiles || a.heightTiles != b.heightTiles) return true;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* p = a.pixels.data() + y * kBufferWidth;
        const std::uint8_t* q = b.pixels.data() + y * kBufferWidth;
        for (int x = 0; x < w; ++x)
            if ((p[x] ^ q[x]) & 15) return true;
    }
    return false;
}

RomComparison::RomComparison() : other_(std::make_unique<RomDocument>()) {}
RomComparison::~RomComparison() = default;

IoResult RomComparison::open(const std::string& path, const RomDocument& edited, FileIo& io)
{
    if (!edited.romOpen()) return IoResult::failure("Open a ROM first: the other ROM is compared with it.");
    RomFile file(io);
    if (IoResult r = file.openReadOnly(path); !r.ok) return r;
    if (file.key() == edited.romFile.key())
        return IoResult::failure(baseName(path) + " is the ROM being edited; choose another file to compare it with.");
    RomProbe probe;
    if (IoResult r = probeRom(file, probe); !r.ok) return r;
    if (probe.kind == RomKind::Unknown)
        return IoResult::failure(baseName(path) + " is not an Oakenshore ROM: \"" + kRomTitle +
                                 "\" is neither at 0x101C0 nor at 0xFFC0.");
    file.setCopierHeader(probe.hasCopierHeader());
    // Read into a document of its own first, so that a failed read leaves
    // the comparison that was open alone.
    auto read = std::make_unique<RomDocument>();
    if (IoResult r = loadAllSprites(*read, file); !r.ok) return r;
    key_ = file.key();
    file.close(); // everything is in memory: nothing of the file is held
    other_ = std::move(read);
    path_ = path;
    open_ = true;
    compareAll(edited);
    return IoResult::success();
}

void RomComparison::close()
{
    open_ = false;
    path_.clear();
    key_ = {};
    spriteDiffers_.fill(false);
    paletteDiffers_.fill(false);
    spriteCount_ = paletteCount_ = 0;
}

bool RomComparison::spriteDiffers(int sprite) const { return validSprite(sprite) && spriteDiffers_[sprite]; }

bool RomComparison::paletteDiffers(int palette) const
{
    return palette >= 0 && palette < kPaletteCount && paletteDiffers_[palette];
}

std::vector<int> RomComparison::differingSprites() const
{
    std::vector<int> sprites;
    for (int s = 0; s < kSpriteCount; ++s)
        if (spriteDiffers_[s]) sprites.push_back(s);
    return sprites;
}

std::vector<int> RomComparison::differingPalettes() const
{
    std::vector<int> palettes;
    for (int p = 0; p < kPaletteCount; ++p)
        if (paletteDiffers_[p]) palettes.push_back(p);
    return palettes;
}

void RomComparison::compareAll(const RomDocument& edited)
{
    if (!open_) return;
    for (int s = 0; s < kSpriteCount; ++s) updateSprite(edited, s);
    comparePalettes(edited);
}

bool RomComparison::updateSprite(const RomDocument& edited, int sprite)
{
    if (!open_ || !validSprite(sprite)) return false;
    seenMarkCounts_[sprite] = edited.spriteMarkCounts[sprite];
    const bool differs = spritePixelsDiffer(edited.spriteStore[sprite], other_->spriteStore[sprite]);
    if (differs == spriteDiffers_[sprite]) return false;
    spriteDiffers_[sprite] = differs;
    spriteCount_ += differs ? 1 : -1;
    return true;
}

bool RomComparison::comparePalettes(const RomDocument& edited)
{
    bool changed = false;
    paletteCount_ = 0;
    for (int p = 0; p < kPaletteCount; ++p) {
        const RawPalette& a = edited.rawPalettes[p];
        const RawPalette& b = other_->rawPalettes[p];
        bool differs = false;
        for (int k = 1; k < kColoursPerPalette; ++k)
            differs |= ((a.red[k] ^ b.red[k]) | (a.green[k] ^ b.green[k]) | (a.blue[k] ^ b.blue[k])) & 31;
        changed |= differs != paletteDiffers_[p];
        paletteDiffers_[p] = differs;
        paletteCount_ += differs;
    }
    return changed;
}

bool RomComparison::updateChanged(const RomDocument& edited, int current)
{
    if (!open_) return false;
    bool changed = updateSprite(edited, current);
    for (int s = 0; s < kSpriteCount; ++s)
        if (s != current && edited.spriteMarkCounts[s] != seenMarkCounts_[s]) changed |= updateSprite(edited, s);
    return comparePalettes(edited) || changed;
}

} // namespace tessel
