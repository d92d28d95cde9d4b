#include "interchange/patch_apply.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

#include "file/checksum.h"
#include "interchange/rom_kind.h"
#include "rom/palette_codec.h"
#include "rom/rom_session.h"
#include "rom/sprite_catalogue.h"

namespace tessel {
namespace {

using Bytes = PatchBytes;
using Result = Outcome<Bytes>;
using Span = std::span<const std::uint8_t>;
constexpr std::size_t kHeader = RomFile::kCopierHeaderBytes;

std::uint32_t little32(Span b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

std::string hex(std::uint64_t v, int digits)
{
    char text[24];
    std::snprintf(text, sizeof text, "%0*llX", digits, static_cast<unsigned long long>(v));
    return text;
}

std::string sizeText(std::size_t bytes) { return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes"); }

// --- BPS --------------------------------------------------------------------

// The patch's numbers and actions, read with every bound checked.
class BpsReader {
public:
    explicit BpsReader(Span patch) : patch_(patch), end_(patch.size() - 12) {}

    // A variable-length number: 7 bits a byte, low first, the last byte
    // marked by bit 7, each continuation adding one. False past the end of
    // the actions or beyond 2^56.
    bool number(std::uint64_t& value)
    {
        value = 0;
        std::uint64_t shift = 1;
        for (int i = 0; i < 8; ++i) {
            if (at >= end_) return false;
            const std::uint8_t x = patch_[at++];
            value += (x & 0x7F) * shift;
            if (x & 0x80) return true;
            shift <<= 7;
            value += shift;
        }
        return false;
    }
    bool signedNumber(std::int64_t& value)
    {
        std::uint64_t raw;
        if (!number(raw)) return false;
        value = static_cast<std::int64_t>(raw >> 1) * ((raw & 1) ? -1 : 1);
        return true;
    }
    bool more() const { return at < end_; }
    Span take(std::size_t n)
    {
        if (n > end_ - at) return {};
        at += n;
        return patch_.subspan(at - n, n);
    }

    std::size_t at = 4;

private:
    Span patch_;
    std::size_t end_;
};

constexpr char kDamaged[] = "The patch is damaged or not a BPS patch";

struct BpsHead {
    std::uint64_t sourceSize = 0, targetSize = 0;
    std::uint32_t sourceCrc = 0, targetCrc = 0;
};

Outcome<BpsHead> readBpsHead(Span patch, BpsReader& reader)
{
    using HeadResult = Outcome<BpsHead>;
    if (patch.size() < 19 || !std::equal(patch.begin(), patch.begin() + 4, "BPS1"))
        return HeadResult::failure(std::string(kDamaged) + " (it does not start with BPS1)");
    if (crc32Of(patch.first(patch.size() - 4)) != little32(patch, patch.size() - 4))
        return HeadResult::failure(std::string(kDamaged) + " (its own CRC-32 does not match)");
    BpsHead head;
    std::uint64_t metadata = 0;
    if (!reader.number(head.sourceSize) || !reader.number(head.targetSize) || !reader.number(metadata) ||
        reader.take(metadata).size() != metadata)
        return HeadResult::failure(kDamaged);
    if (head.targetSize > kMaxPatchTarget)
        return HeadResult::failure("The patch makes a file of " + sizeText(head.targetSize) +
                                   ", larger than any ROM of the game");
    head.sourceCrc = little32(patch, patch.size() - 12);
    head.targetCrc = little32(patch, patch.size() - 8);
    return HeadResult::success(head);
}

// Each action calls `write(begin, end)` for the target bytes it produces,
// after `fill` (when given) produced them.
template <class Fill>
IoResult walkBps(BpsReader& reader, std::uint64_t targetSize, Fill fill)
{
    std::uint64_t out = 0;
    while (reader.more()) {
        std::uint64_t data;
        if (!reader.number(data)) return IoResult::failure(kDamaged);
        const std::uint64_t length = (data >> 2) + 1;
        if (length > targetSize - out) return IoResult::failure(std::string(kDamaged) + " (it writes past its target)");
        std::int64_t relative = 0;
        Span literal;
        const int kind = static_cast<int>(data & 3);
        if (kind == 1 && (literal = reader.take(length)).size() != length) return IoResult::failure(kDamaged);
        if (kind >= 2 && !reader.signedNumber(relative)) return IoResult::failure(kDamaged);
        if (!fill(kind, out, length, literal, relative)) return IoResult::failure(kDamaged);
        out += length;
    }
    if (out != targetSize) return IoResult::failure(std::string(kDamaged) + " (it leaves part of its target empty)");
    return IoResult::success();
}

} // namespace

Outcome<Bytes> applyBpsPatch(Span patch, Span source)
{
    BpsReader reader(patch);
    const auto head = readBpsHead(patch, reader);
    if (!head) return Result::failure(head.error);
    if (head.value.sourceSize != source.size() || crc32Of(source) != head.value.sourceCrc)
        return Result::failure("The patch was made for another file: it expects " + sizeText(head.value.sourceSize) +
                               " with CRC-32 " + hex(head.value.sourceCrc, 8));
    Bytes target(head.value.targetSize);
    std::int64_t sourceAt = 0, targetAt = 0;
    const auto fill = [&](int kind, std::uint64_t out, std::uint64_t length, Span literal, std::int64_t relative) {
        switch (kind) {
        case 0: // SourceRead: the source's bytes at the same offset
            if (out + length > source.size()) return false;
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(out), length, target.begin() + static_cast<std::ptrdiff_t>(out));
            return true;
        case 1: // TargetRead: the patch's own bytes
            std::copy(literal.begin(), literal.end(), target.begin() + static_cast<std::ptrdiff_t>(out));
            return true;
        case 2: // SourceCopy: from a moving source offset
            sourceAt += relative;
            if (sourceAt < 0 || static_cast<std::uint64_t>(sourceAt) + length > source.size()) return false;
            std::copy_n(source.begin() + sourceAt, length, target.begin() + static_cast<std::ptrdiff_t>(out));
            sourceAt += static_cast<std::int64_t>(length);
            return true;
        default: // TargetCopy: from bytes already written, one at a time (they may overlap)
            targetAt += relative;
            if (targetAt < 0 || static_cast<std::uint64_t>(targetAt) >= out) return false;
            for (std::uint64_t i = 0; i < length; ++i) target[out + i] = target[static_cast<std::size_t>(targetAt++)];
            return true;
        }
    };
    if (IoResult r = walkBps(reader, head.value.targetSize, fill); !r) return Result::failure(r.error);
    if (crc32Of(target) != head.value.targetCrc)
        return Result::failure(std::string(kDamaged) + " (the patched file's CRC-32 does not match)");
    return Result::success(std::move(target));
}

namespace {

constexpr std::array<std::uint8_t, 5> kIpsMagic = {'P', 'A', 'T', 'C', 'H'};

// Each record as (offset, size, bytes or the run's value); false when the
// patch is damaged. Three bytes after "EOF" give the length the file is cut
// to (an extension some patchers write), into `cutTo` when given.
template <class Record>
bool walkIps(Span patch, Record record, std::size_t* cutTo = nullptr)
{
    if (patch.size() < 8 || !std::equal(kIpsMagic.begin(), kIpsMagic.end(), patch.begin())) return false;
    std::size_t p = 5;
    for (;;) {
        if (patch.size() - p < 3) return false;
        const std::size_t offset = (patch[p] << 16) | (patch[p + 1] << 8) | patch[p + 2];
        if (offset == kIpsEofOffset && patch.size() - p == 6 && cutTo)
            *cutTo = (patch[p + 3] << 16) | (patch[p + 4] << 8) | patch[p + 5];
        if (offset == kIpsEofOffset) return patch.size() - p == 3 || patch.size() - p == 6;
        if (patch.size() - p < 5) return false;
        std::size_t size = (patch[p + 3] << 8) | patch[p + 4];
        p += 5;
        if (size == 0) { // a run: a 2-byte count, one value
            if (patch.size() - p < 3) return false;
            size = (patch[p] << 8) | patch[p + 1];
            if (!record(offset, size, patch.subspan(p + 2, 1), true)) return false;
            p += 3;
        } else {
            if (patch.size() - p < size) return false;
            if (!record(offset, size, patch.subspan(p, size), false)) return false;
            p += size;
        }
    }
}

} // namespace

Outcome<Bytes> applyIpsPatch(Span patch, Span source)
{
    Bytes target(source.begin(), source.end());
    std::size_t cutTo = SIZE_MAX;
    const bool whole = walkIps(
        patch,
        [&](std::size_t offset, std::size_t size, Span bytes, bool run) {
            if (offset + size > target.size()) target.resize(offset + size);
            if (run) std::fill_n(target.begin() + static_cast<std::ptrdiff_t>(offset), size, bytes[0]);
            else std::copy(bytes.begin(), bytes.end(), target.begin() + static_cast<std::ptrdiff_t>(offset));
            return true;
        },
        &cutTo);
    if (!whole) return Result::failure("The patch is damaged or not an IPS patch");
    if (cutTo < target.size()) target.resize(cutTo);
    return Result::success(std::move(target));
}

Outcome<Bytes> applyRomPatch(PatchFormat format, Span patch, Span rom, const std::string& romName)
{
    const bool headered = romKind(rom) == RomKind::CopierImage;
    const Span dump = withoutCopierHeader(rom);
    const auto withHeader = [&](Outcome<Bytes> target) {
        if (target && headered) target.value.insert(target.value.begin(), rom.begin(), rom.begin() + kHeader);
        return target;
    };
    if (format == PatchFormat::Ips) return withHeader(applyIpsPatch(patch, dump));

    BpsReader reader(patch);
    const auto head = readBpsHead(patch, reader);
    if (!head) return Result::failure(head.error);
    const std::uint32_t dumpCrc = crc32Of(dump);
    if (head.value.sourceSize == dump.size() && head.value.sourceCrc == dumpCrc)
        return withHeader(applyBpsPatch(patch, dump));
    if (headered && head.value.sourceSize == rom.size() && head.value.sourceCrc == crc32Of(rom))
        return applyBpsPatch(patch, rom);
    return Result::failure("The patch is for another ROM: it expects a file of " + sizeText(head.value.sourceSize) +
                           " with CRC-32 " + hex(head.value.sourceCrc, 8) + ", and " + romName + " has " +
                           sizeText(dump.size()) + " with CRC-32 " + hex(dumpCrc, 8) +
                           (headered ? " without its copier header" : ""));
}

// --- In the game's terms ----------------------------------------------------------

namespace {

constexpr std::size_t kPaletteBlockBegin = kPaletteBlockOffset;
constexpr std::size_t kPaletteBlockEnd = kPaletteBlockBegin + std::size_t{kPaletteCount} * kPaletteBytes;

void addOther(PatchEffect& effect, std::size_t begin, std::size_t end)
{
    if (!effect.other.empty() && effect.other.back().end == begin) effect.other.back().end = end;
    else effect.other.push_back({begin, end});
}

// The sprite whose tiles hold `offset`, or the first one after it (the
// catalogue's sprites lie in ascending order).
int spriteAtOrAfter(std::size_t offset)
{
    const SpriteCatalogue& catalogue = spriteCatalogue();
    const auto it = std::upper_bound(catalogue.begin(), catalogue.end(), offset,
                                     [](std::size_t o, const CatalogueEntry& e) { return o < static_cast<std::size_t>(e.endOffset()); });
    return static_cast<int>(it - catalogue.begin());
}

} // namespace

PatchEffect patchEffect(std::span<const ByteRange> changed)
{
    std::array<bool, kSpriteCount> sprites{};
    std::array<bool, kPaletteCount> palettes{};
    PatchEffect effect;
    const SpriteCatalogue& catalogue = spriteCatalogue();
    for (const ByteRange& range : changed) {
        for (std::size_t b = range.begin; b < range.end;) {
            std::size_t next = range.end;
            if (b >= kPaletteBlockBegin && b < kPaletteBlockEnd) {
                const std::size_t p = (b - kPaletteBlockBegin) / kPaletteBytes;
                const std::size_t first = kPaletteBlockBegin + p * kPaletteBytes;
                if (b < first + 2) { // colour 0, which Apply Changes never writes
                    next = std::min(next, first + 2);
                    addOther(effect, b, next);
                } else {
                    next = std::min(next, first + kPaletteBytes);
                    palettes[p] = true;
                }
            } else if (b >= static_cast<std::size_t>(kSpriteAreaBegin) && b < static_cast<std::size_t>(kSpriteAreaEnd)) {
                const int s = spriteAtOrAfter(b);
                const auto& entry = catalogue[static_cast<std::size_t>(s)];
                if (b >= static_cast<std::size_t>(entry.romOffset)) {
                    next = std::min(next, static_cast<std::size_t>(entry.endOffset()));
                    sprites[static_cast<std::size_t>(s)] = true;
                } else { // a gap between two sprites
                    next = std::min(next, static_cast<std::size_t>(entry.romOffset));
                    addOther(effect, b, next);
                }
            } else {
                if (b < kPaletteBlockBegin) next = std::min(next, kPaletteBlockBegin);
                else if (b < static_cast<std::size_t>(kSpriteAreaBegin)) next = std::min(next, static_cast<std::size_t>(kSpriteAreaBegin));
                addOther(effect, b, next);
            }
            b = next;
        }
    }
    for (int s = 0; s < kSpriteCount; ++s)
        if (sprites[static_cast<std::size_t>(s)]) effect.sprites.push_back(s);
    for (int p = 0; p < kPaletteCount; ++p)
        if (palettes[static_cast<std::size_t>(p)]) effect.palettes.push_back(p);
    return effect;
}

PatchEffect romPatchEffect(Span before, Span after)
{
    // Both in copier-image offsets: a dump's bytes are 512 further on.
    const std::size_t shift = romKind(before) == RomKind::Headerless ? kHeader : 0;
    std::vector<ByteRange> changed;
    const std::size_t common = std::min(before.size(), after.size());
    for (std::size_t i = 0; i < common;) {
        if (before[i] == after[i]) {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < common && before[j] != after[j]) ++j;
        changed.push_back({i + shift, j + shift});
        i = j;
    }
    if (before.size() != after.size())
        changed.push_back({common + shift, std::max(before.size(), after.size()) + shift});
    PatchEffect effect = patchEffect(changed);
    // Bit 15 of a palette colour is kept as the file has it by every
    // palette write, so a patch that changes it changes other bytes.
    for (std::size_t at = kPaletteBlockBegin + 1; at < kPaletteBlockEnd; at += 2)
        if (at - shift < common && ((before[at - shift] ^ after[at - shift]) & 0x80)) effect.other.push_back({at, at + 1});
    std::sort(effect.other.begin(), effect.other.end(), [](const ByteRange& a, const ByteRange& b) { return a.begin < b.begin; });
    return effect;
}

Outcome<std::vector<ByteRange>> patchWrites(PatchFormat format, Span patch)
{
    using Ranges = Outcome<std::vector<ByteRange>>;
    std::vector<ByteRange> ranges;
    const auto add = [&ranges](std::size_t begin, std::size_t end) {
        if (!ranges.empty() && ranges.back().end >= begin) ranges.back().end = std::max(ranges.back().end, end);
        else ranges.push_back({begin, end});
    };
    if (format == PatchFormat::Ips) {
        std::vector<ByteRange> records;
        if (!walkIps(patch, [&](std::size_t offset, std::size_t size, Span, bool) {
                records.push_back({offset + kHeader, offset + size + kHeader});
                return true;
            }))
            return Ranges::failure("The patch is damaged or not an IPS patch");
        std::sort(records.begin(), records.end(), [](const ByteRange& a, const ByteRange& b) { return a.begin < b.begin; });
        for (const ByteRange& r : records) add(r.begin, r.end);
        return Ranges::success(std::move(ranges));
    }
    BpsReader reader(patch);
    const auto head = readBpsHead(patch, reader);
    if (!head) return Ranges::failure(head.error);
    const std::size_t shift = head.value.sourceSize == static_cast<std::uint64_t>(kOakenshoreImageBytes) + kHeader ? 0 : kHeader;
    const auto note = [&](int kind, std::uint64_t out, std::uint64_t length, Span, std::int64_t) {
        if (kind != 0) add(out + shift, out + length + shift); // everything but SourceRead writes
        return true;
    };
    if (IoResult r = walkBps(reader, head.value.targetSize, note); !r) return Ranges::failure(r.error);
    if (head.value.targetSize != head.value.sourceSize)
        add(std::min(head.value.sourceSize, head.value.targetSize) + shift,
            std::max(head.value.sourceSize, head.value.targetSize) + shift);
    return Ranges::success(std::move(ranges));
}

std::vector<std::string> describePatchEffect(const PatchEffect& effect)
{
    std::vector<std::string> lines;
    for (int s : effect.sprites) lines.push_back("sprite " + std::to_string(s));
    for (int p : effect.palettes) lines.push_back("palette " + std::to_string(p));
    for (const ByteRange& r : effect.other) {
        std::string line = "bytes 0x" + hex(r.begin, 6) + "-0x" + hex(r.end - 1, 6) + " (" + sizeText(r.end - r.begin);
        line += r.begin >= kHeader ? "; 0x" + hex(r.begin - kHeader, 6) + " in a dump)" : "; in the copier header)";
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace tessel
