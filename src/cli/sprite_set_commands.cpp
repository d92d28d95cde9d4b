#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include <nlohmann/json.hpp>

#include "cli/more_commands.h"
#include "file/durable_batch.h"
#include "file/system_reason.h"
#include "interchange/art_exchange.h"
#include "interchange/sprite_png.h"
#include "rom/palette_codec.h"
#include "rom/sprite_catalogue.h"

namespace tessel {

namespace {

std::string spriteFileName(int sprite)
{
    char name[32];
    std::snprintf(name, sizeof name, "sprite-%04d.png", sprite);
    return name;
}

// "sprite-NNNN.png" -> NNNN (any four digits, so that a number past the
// last sprite is found and refused); -1 for any other name.
int spriteNumberOfName(const std::string& name)
{
    if (name.size() != 15 || !name.starts_with("sprite-") || !name.ends_with(".png")) return -1;
    int n = -1;
    const char* digits = name.data() + 7;
    const auto [end, ec] = std::from_chars(digits, digits + 4, n);
    return ec == std::errc() && end == digits + 4 ? n : -1;
}

struct SpriteRange {
    int first = 0, last = kSpriteCount - 1;
};

// "N" or "FIRST-LAST", both within the catalogue.
std::optional<SpriteRange> rangeIn(const std::string& text)
{
    const std::size_t dash = text.find('-');
    const auto first = numberIn(text.substr(0, dash), kSpriteCount);
    const auto last = dash == std::string::npos ? first : numberIn(text.substr(dash + 1), kSpriteCount);
    if (!first || !last || *last < *first) return std::nullopt;
    return SpriteRange{*first, *last};
}

std::string inFolder(const std::string& dir, const std::string& name)
{
    return dir.ends_with('/') ? dir + name : dir + "/" + name;
}

// The bytes of the sprites' tiles and of the palettes, at copier-image
// offsets: comparing them needs no decoding (the tile format maps every
// pixel to its bits and back).
struct ArtBytes {
    SpriteAreaBytes tiles;
    std::array<std::uint8_t, kPaletteCount * kPaletteBytes> palettes;
};

IoResult readArtBytes(const RomFile& file, ArtBytes& art)
{
    if (IoResult r = file.read(kSpriteAreaBegin, art.tiles); !r) return r;
    return file.read(kPaletteBlockOffset, art.palettes);
}

// Colours 1..15 without bit 15, which no palette write changes.
bool sameColours(const ArtBytes& a, const ArtBytes& b, int palette)
{
    for (int k = 1; k < kColoursPerPalette; ++k) {
        const std::size_t at = static_cast<std::size_t>(palette * kPaletteBytes + 2 * k);
        if (a.palettes[at] != b.palettes[at] || ((a.palettes[at + 1] ^ b.palettes[at + 1]) & 0x7F)) return false;
    }
    return true;
}

} // namespace

CommandResult exportSpritesCommand(const Args& a, const Options& o, Reply& reply)
{
    const auto range = a.size() > 2 ? rangeIn(a[2]) : std::optional(SpriteRange{});
    if (!range) return usage("RANGE must be a sprite N or FIRST-LAST from 0 to 1143, not " + a[2]);
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], false, o.force)) return f;
    std::vector<FileToWrite> files;
    for (int s = range->first; s <= range->last; ++s) {
        const std::string name = spriteFileName(s);
        if (auto f = failed(exportTarget(inFolder(a[1], name), a[0]))) return f;
        const SpriteRecord& record = rom->spriteStore[s];
        auto png = exportSpritePng(spriteViewOf(record), rom->displayPalettes[record.paletteIndex]);
        if (!png) return Failure{1, "Sprite " + std::to_string(s) + ": " + png.error};
        files.push_back({name, std::move(png.value)});
    }
    if (auto f = failed(replaceFilesInFolder(a[1], files, FileMode::Shared))) return f;
    const int count = range->last - range->first + 1;
    reply.done = "Wrote " + std::to_string(count) + (count == 1 ? " sprite" : " sprites") + " to " + a[1];
    return std::nullopt;
}

CommandResult importSpritesCommand(const Args& a, const Options& o, Reply& reply)
{
    std::vector<std::string> names;
    if (systemFileIo().listFolder(a[1].c_str(), names) != 0)
        return Failure{1, "Cannot read the folder " + a[1] + ": " + systemReason(errno)};
    std::vector<std::pair<int, std::string>> pictures;
    for (const std::string& name : names) {
        const int n = spriteNumberOfName(name);
        if (n >= kSpriteCount) return Failure{1, name + " names no sprite (they go from 0 to 1143); nothing was written"};
        if (n >= 0) pictures.emplace_back(n, name);
    }
    if (pictures.empty()) return Failure{1, "No sprite-NNNN.png in " + a[1] + "; nothing was written"};
    std::sort(pictures.begin(), pictures.end());
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], true, o.force)) return f;
    std::size_t changed = 0;
    for (const auto& [n, name] : pictures) {
        const auto change = importSpriteFile(*rom, n, inFolder(a[1], name));
        if (!change) return Failure{1, name + ": " + change.error + "; nothing was written"};
        changed += change.value.changedSprites.size();
    }
    if (auto f = saveSprites(*rom)) return f;
    reply.done = std::to_string(pictures.size()) + " pictures read, " + std::to_string(changed) +
                 (changed == 1 ? " sprite" : " sprites") + " changed";
    return std::nullopt;
}

CommandResult diffCommand(const Args& a, const Options& o, Reply& reply)
{
    const auto clean = newDocument(), edited = newDocument();
    if (auto f = openRomFileFor(*clean, a[0], false, o.force)) return f;
    if (auto f = openRomFileFor(*edited, a[1], false, o.force)) return f;
    const auto before = std::make_unique<ArtBytes>(), after = std::make_unique<ArtBytes>();
    if (IoResult r = readArtBytes(clean->romFile, *before); !r) return Failure{1, "Cannot read " + a[0] + ": " + r.error};
    if (IoResult r = readArtBytes(edited->romFile, *after); !r) return Failure{1, "Cannot read " + a[1] + ": " + r.error};
    std::vector<int> sprites, palettes;
    for (int s = 0; s < kSpriteCount; ++s) {
        const CatalogueEntry& e = spriteCatalogue()[static_cast<std::size_t>(s)];
        const std::size_t at = static_cast<std::size_t>(e.romOffset - kSpriteAreaBegin);
        if (std::memcmp(before->tiles.data() + at, after->tiles.data() + at, static_cast<std::size_t>(e.byteCount())) != 0)
            sprites.push_back(s);
    }
    for (int p = 0; p < kPaletteCount; ++p)
        if (!sameColours(*before, *after, p)) palettes.push_back(p);
    if (o.json) {
        reply.lines.push_back(nlohmann::json{{"sprites", sprites}, {"palettes", palettes}}.dump());
        return std::nullopt;
    }
    for (int s : sprites) reply.lines.push_back("sprite " + std::to_string(s));
    for (int p : palettes) reply.lines.push_back("palette " + std::to_string(p));
    return std::nullopt;
}

} // namespace tessel
