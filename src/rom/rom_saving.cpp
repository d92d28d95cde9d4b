// Saving sprites and palettes into the open ROM.
//
// The file is shared with other programs, so a save writes only what the
// user changed: the edited sprites' tiles that differ from the copy of the
// sprite area we last read or wrote (diskSpriteArea), and the palette
// colours that differ from the palette as loaded. The comparison is never
// made with the file itself, whose cached bytes may not be on the disk.
// Each changed tile goes out whole in one write call (adjacent tiles share
// one), nothing is written past the end of the file, and the copy, the
// edit marks and the file's stamp move on only once fsync succeeded.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "model/edit_marks.h"
#include "rom/palette_codec.h"
#include "rom/rom_copy.h"
#include "rom/rom_session.h"
#include "rom/sprite_catalogue.h"
#include "rom/tile_codec.h"
#include "rom/unsaved_sprites.h"

namespace tessel {

namespace {

constexpr int kMaxSpriteBytes = 80 * kTileBytes;

// The sprite area as the edited sprites encode to; static so that a save
// does not allocate 1.1 MB each time (the editor runs on one thread). The
// lists of sprites and runs a save builds are small and do allocate.
SpriteAreaBytes encodedArea;

bool hasTiles(const SpriteRecord& r)
{
    return r.widthTiles > 0 && r.heightTiles > 0 && r.widthTiles * 8 <= kBufferWidth &&
           r.heightTiles * 8 <= kBufferHeight;
}

bool insideArea(const SpriteRecord& r)
{
    const long long end = r.romOffset + 1LL * r.widthTiles * r.heightTiles * kTileBytes;
    return r.romOffset >= kSpriteAreaBegin && end <= kSpriteAreaEnd;
}

long long byteCount(const SpriteRecord& r) { return 1LL * r.widthTiles * r.heightTiles * kTileBytes; }

SaveResult failed(std::string why)
{
    SaveResult r;
    r.ok = false;
    r.error = std::move(why);
    return r;
}

SaveResult refused(HeldFile file)
{
    SaveResult r = failed({});
    r.file = file;
    return r;
}

// The caller's last word before the first byte is written.
bool mayWrite(const SaveOptions& options) { return !options.beforeWriting || options.beforeWriting(); }

SaveResult declined()
{
    SaveResult r = failed({});
    r.declined = true;
    return r;
}

std::vector<int> editedSprites(const RomDocument& document);

// Only the file's status change time moved (a chmod, a touch, or an
// in-place write whose modification time was put back): a file made
// write-protected is refused, and where the edited sprites' tiles or the
// palettes no longer read as our copy, another program changed them.
SaveResult checkStatusChange(RomDocument& document, const SaveOptions& options)
{
    RomFile& file = document.romFile;
    if (!file.stillWritable()) return failed("The file is write-protected");
    bool differs = false;
    std::array<std::uint8_t, kMaxSpriteBytes> bytes;
    for (int i : editedSprites(document)) {
        const SpriteRecord& record = document.spriteStore[i];
        if (!hasTiles(record) || !insideArea(record)) continue;
        const auto span = std::span(bytes.data(), byteCount(record));
        if (IoResult r = file.read(record.romOffset, span); !r.ok) return failed(r.error);
        differs |= std::memcmp(span.data(), document.diskSpriteArea.data() + (record.romOffset - kSpriteAreaBegin),
                               span.size()) != 0;
    }
    std::array<std::uint8_t, kPaletteBytes * kPaletteCount> palettes;
    if (IoResult r = file.read(kPaletteBlockOffset, palettes); !r.ok) return failed(r.error);
    for (int p = 0; p < kPaletteCount && !differs; ++p) {
        std::array<std::uint8_t, kPaletteWriteBytes> ours;
        encodePaletteColours(document.rawPalettes[p], ours.data());
        const std::uint8_t* theirs = palettes.data() + p * kPaletteBytes + 2;
        for (int k = 0; k < kPaletteWriteBytes; k += 2)
            differs |= ((ours[k] | ours[k + 1] << 8) & 0x7FFF) != ((theirs[k] | theirs[k + 1] << 8) & 0x7FFF);
    }
    if (differs && !options.overOutsideChange) return refused(HeldFile::ChangedOutside);
    file.restamp(); // a mere touch, or a change the user chose to write over
    return {};
}

// Nothing may be written into a file that is no longer the one at the
// path, nor, unless the user said so, over another program's changes.
SaveResult checkFile(RomDocument& document, const SaveOptions& options)
{
    std::string error;
    switch (document.romFile.check(&error)) {
    case HeldFile::Unchanged: return {};
    case HeldFile::Unknown: return failed(error);
    case HeldFile::Replaced: return refused(HeldFile::Replaced);
    case HeldFile::StatusChanged: return checkStatusChange(document, options);
    case HeldFile::ChangedOutside:
        if (options.overOutsideChange) return {};
        return refused(HeldFile::ChangedOutside);
    }
    return {};
}

using Runs = std::vector<std::pair<long long, long long>>; // offset, bytes

// After our own writes: the file's new size and time are ours, so they are
// taken as its stamp (also when a write failed part way). Then its length:
// if another program cut the file short while we wrote, a write of ours
// may have landed past its new end and made it longer again. Such writes
// (those of `written` that the file now ends with) are cut off, and with
// them the hole our write opened between the other program's end and ours;
// the file is never left longer than the shorter of the length the save
// found and the one the other program gave it, whether or not a later
// write failed. Last, the file is synced.
IoResult finishWrites(RomFile& file, long long sizeBefore, IoResult written, const Runs& attempted)
{
    const IoResult stamped = file.restamp();
    const Outcome<long long> length = file.size();
    if (!length.ok) return written.ok ? IoResult::failure(length.error) : written;
    long long end = length.value;
    if (end == sizeBefore) {
        if (!written.ok) return written;
        if (!stamped.ok) return stamped;
        return file.sync();
    }
    long long target = std::min(end, sizeBefore);
    for (bool again = true; again;) {
        again = false;
        for (auto [offset, count] : attempted)
            if (offset + count == target && offset < target) {
                target = file.dataEndBefore(offset);
                again = true;
            }
    }
    IoResult cut;
    if (end > target) cut = file.truncate(target);
    if (cut.ok && end > target) file.sync(); // the save failed anyway; the cut is best made durable
    file.restamp();
    std::string why = "Another program changed the length of the ROM file while Tessel was "
                      "saving (it was shortened)";
    if (!cut.ok) why += ". " + cut.error;
    else if (end > target) why += "; the bytes Tessel wrote past its new end were cut off";
    if (!written.ok) why += ". " + written.error;
    return IoResult::failure(why);
}

// One sprite being saved: where its bytes are, and whether the part that
// changed could be written.
struct Pending {
    int sprite;
    long long offset;   // file offset of its first tile
    long long count;    // its bytes
    bool changed = false;
    bool blocked = false; // a changed tile lies past the end of the file
    bool written = false; // some of its bytes are among the writes
};

// The sprites among `sprites` that have tiles, with the sprite area as they
// encode to in encodedArea.
std::vector<Pending> encodePending(const RomDocument& document, const std::vector<int>& sprites)
{
    std::vector<Pending> pending;
    encodedArea = document.diskSpriteArea;
    for (int i : sprites) {
        const SpriteRecord& record = document.spriteStore[i];
        if (!hasTiles(record)) continue;
        if (insideArea(record))
            encodeSprite(record, encodedArea.data() + (record.romOffset - kSpriteAreaBegin));
        pending.push_back({i, record.romOffset, byteCount(record)});
    }
    return pending;
}

// Whether the tile at file offset `offset` encodes otherwise than the copy.
bool tileChanged(const RomDocument& document, long long offset)
{
    const long long at = offset - kSpriteAreaBegin;
    return std::memcmp(encodedArea.data() + at, document.diskSpriteArea.data() + at, kTileBytes) != 0;
}

// Whether a save of `p` (encoded in encodedArea) would leave a changed tile
// unwritten because it lies past the end of a file of `size` bytes. A
// sprite outside the sprite area cannot be compared and is written whole.
bool changedPastTheEnd(const RomDocument& document, const Pending& p, long long size)
{
    if (!insideArea(document.spriteStore[p.sprite])) return p.offset + p.count > size;
    for (long long t = p.offset; t < p.offset + p.count; t += kTileBytes)
        if (t + kTileBytes > size && tileChanged(document, t)) return true;
    return false;
}

std::vector<int> editedSprites(const RomDocument& document)
{
    std::vector<int> edited;
    for (int i = 0; i < kSpriteCount; ++i)
        if (isSpriteEdited(document, i)) edited.push_back(i);
    return edited;
}

// What a save of `sprites` writes into a file of `size` bytes: changed
// tiles in runs of adjacent ones (from encodedArea), and whole sprites of
// records outside the sprite area, which cannot be compared with the copy
// (a damaged record could only lead there). A tile past the end of the file
// is not written and its sprite is reported.
struct SavePlan {
    std::vector<Pending> pending;
    Runs runs;                           // changed tiles inside the sprite area, sorted
    std::vector<const Pending*> outside; // whole sprites of damaged records
};

void planSave(const RomDocument& document, const std::vector<int>& sprites, long long size, SavePlan& plan)
{
    plan.pending = encodePending(document, sprites);
    for (Pending& p : plan.pending) {
        const SpriteRecord& record = document.spriteStore[p.sprite];
        p.blocked = changedPastTheEnd(document, p, size);
        if (!insideArea(record)) {
            p.changed = true;
            p.written = !p.blocked;
            if (!p.blocked) plan.outside.push_back(&p);
            continue;
        }
        for (long long t = p.offset; t < p.offset + p.count; t += kTileBytes) {
            if (!tileChanged(document, t)) continue;
            p.changed = true;
            if (t + kTileBytes > size) continue;
            p.written = true;
            if (!plan.runs.empty() && plan.runs.back().first + plan.runs.back().second == t)
                plan.runs.back().second += kTileBytes;
            else
                plan.runs.emplace_back(t, kTileBytes);
        }
    }
    std::sort(plan.runs.begin(), plan.runs.end());
}

SaveResult saveSprites(RomDocument& document, const std::vector<int>& sprites,
                       const SaveOptions& options)
{
    if (!document.romOpen()) return failed("No ROM is open");
    if (SaveResult r = checkFile(document, options); !r.ok) return r;
    const Outcome<long long> length = document.romFile.size();
    if (!length) return failed(length.error);
    const long long size = length.value;

    SavePlan plan;
    planSave(document, sprites, size, plan);
    const std::vector<Pending>& pending = plan.pending;
    const Runs& runs = plan.runs;
    const std::vector<const Pending*>& outside = plan.outside;
    std::array<std::uint8_t, kMaxSpriteBytes> wholeSprite;
    SaveResult result;
    if ((!runs.empty() || !outside.empty()) && !mayWrite(options)) return declined();

    IoResult written;
    Runs attempted;
    for (const Pending* p : outside) {
        if (!written.ok) break;
        encodeSprite(document.spriteStore[p->sprite], wholeSprite.data());
        written = document.romFile.write(p->offset, std::span(wholeSprite.data(), p->count));
        attempted.emplace_back(p->offset, p->count);
        result.tilesWritten += static_cast<int>(p->count / kTileBytes);
    }
    for (auto [offset, count] : runs) {
        if (!written.ok) break;
        const auto bytes = std::span(encodedArea.data() + (offset - kSpriteAreaBegin), count);
        written = document.romFile.write(offset, bytes);
        attempted.emplace_back(offset, count);
        result.tilesWritten += static_cast<int>(count / kTileBytes);
    }
    if (result.tilesWritten > 0) {
        if (IoResult r = finishWrites(document.romFile, size, written, attempted); !r.ok) {
            // Nothing of this save counts as done: the user is told which
            // sprites were not saved, and they stay marked.
            SaveResult f = failed(r.error);
            for (const Pending& p : pending)
                if (p.changed) f.unsavedSprites.push_back(p.sprite);
            std::sort(f.unsavedSprites.begin(), f.unsavedSprites.end());
            return f;
        }
    } else if (options.overOutsideChange) {
        document.romFile.restamp(); // the user has seen the change and accepted it
    }

    // On the disk now: the copy of the sprite area follows, and the sprites
    // are saved.
    for (auto [offset, count] : runs)
        std::memcpy(document.diskSpriteArea.data() + (offset - kSpriteAreaBegin),
                    encodedArea.data() + (offset - kSpriteAreaBegin), count);
    for (const Pending& p : pending) {
        if (p.blocked) {
            result.unsavedSprites.push_back(p.sprite);
            continue;
        }
        if (p.changed) ++result.spritesSaved;
        clearSpriteEdited(document, p.sprite);
    }
    std::sort(result.unsavedSprites.begin(), result.unsavedSprites.end());
    return result;
}

std::uint16_t wordAt(const std::uint8_t* bytes) { return bytes[0] | bytes[1] << 8; }

} // namespace

SaveResult saveSprite(RomDocument& document, int sprite, const SaveOptions& options)
{
    if (!document.romOpen() || sprite < 0 || sprite >= kSpriteCount) return failed("No ROM is open");
    return saveSprites(document, {sprite}, options);
}

SaveResult saveAllSprites(RomDocument& document, const SaveOptions& options)
{
    return saveSprites(document, editedSprites(document), options);
}

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

    // The writes Save All would make, laid into the bytes instead.
    SavePlan plan;
    planSave(document, editedSprites(document), length.value, plan);
    std::array<std::uint8_t, kMaxSpriteBytes> wholeSprite;
    for (const Pending* p : plan.outside) {
        if (p->offset < first) continue; // inside the header the dump does not have
        encodeSprite(document.spriteStore[p->sprite], wholeSprite.data());
        std::memcpy(copy.bytes.data() + (p->offset - first), wholeSprite.data(), p->count);
    }
    for (auto [offset, count] : plan.runs)
        std::memcpy(copy.bytes.data() + (offset - first), encodedArea.data() + (offset - kSpriteAreaBegin), count);
    for (const Pending& p : plan.pending) {
        copy.spritesChanged += p.written;
        if (p.blocked) copy.unsavedSprites.push_back(p.sprite);
    }
    return Outcome<RomCopy>::success(std::move(copy));
}

std::vector<int> editedSpritesPastTheEnd(const RomDocument& document, long long fileSize)
{
    std::vector<int> lost;
    for (const Pending& p : encodePending(document, editedSprites(document)))
        if (changedPastTheEnd(document, p, fileSize)) lost.push_back(p.sprite);
    return lost;
}

bool hasUnsavedEdits(const RomDocument& document)
{
    for (int i = 0; i < kSpriteCount; ++i)
        if (isSpriteUnsaved(document, i)) return true;
    return false;
}

SaveResult writePalette(RomDocument& document, int palette, const RawPalette& colours,
                        const SaveOptions& options)
{
    if (!document.romOpen()) return failed("No ROM is open");
    if (palette < 0 || palette >= kPaletteCount) return failed("No such palette");
    if (SaveResult r = checkFile(document, options); !r.ok) return r;
    const Outcome<long long> length = document.romFile.size();
    if (!length) return failed(length.error);
    const long long size = length.value;

    // Colour 0 is never written: both encodings start at colour 1. Bit 15
    // of each word is the file's own and is kept.
    std::array<std::uint8_t, kPaletteWriteBytes> wanted, loaded, file;
    encodePaletteColours(colours, wanted.data());
    encodePaletteColours(document.rawPalettes[palette], loaded.data());
    const long long offset = kPaletteBlockOffset + kPaletteBytes * palette + 2;
    if (IoResult r = document.romFile.read(offset, file); !r.ok) return failed(r.error);

    bool anyChange = false;
    for (int k = 0; k < kPaletteWriteBytes / 2; ++k)
        anyChange |= wordAt(&wanted[2 * k]) != wordAt(&loaded[2 * k]);
    if (anyChange && !mayWrite(options)) return declined();

    SaveResult result;
    IoResult written;
    Runs runs;
    int c = 0;
    while (c < kPaletteWriteBytes / 2 && written.ok) {
        if (wordAt(&wanted[2 * c]) == wordAt(&loaded[2 * c])) {
            ++c;
            continue;
        }
        const int first = c;
        while (c < kPaletteWriteBytes / 2 && wordAt(&wanted[2 * c]) != wordAt(&loaded[2 * c])) {
            const std::uint16_t word = wordAt(&wanted[2 * c]) | (wordAt(&file[2 * c]) & 0x8000);
            wanted[2 * c] = word & 0xFF;
            wanted[2 * c + 1] = word >> 8;
            ++c;
        }
        const auto bytes = std::span(wanted.data() + 2 * first, 2 * (c - first));
        written = document.romFile.write(offset + 2 * first, bytes);
        runs.emplace_back(offset + 2 * first, 2 * (c - first));
        result.coloursWritten += c - first;
    }
    if (result.coloursWritten > 0) {
        if (IoResult r = finishWrites(document.romFile, size, written, runs); !r.ok)
            return failed(r.error);
    }
    return result;
}

} // namespace tessel
