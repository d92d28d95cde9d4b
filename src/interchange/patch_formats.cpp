#include "interchange/patch_formats.h"

#include <algorithm>
#include <cstring>

#include "file/checksum.h"
#include "file/durable_file.h"
#include "file/file_access.h"
#include "file/path_names.h"
#include "interchange/rom_kind.h"

namespace tessel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Result = Outcome<Bytes>;
using Span = std::span<const std::uint8_t>;

constexpr std::size_t kMaxRomBytes = std::size_t{64} << 20;
// An unchanged stretch shorter than this stays inside the changed bytes
// around it: a separate action or record would cost more than its bytes.
constexpr std::size_t kBpsMinSourceRead = 4;
constexpr std::size_t kIpsMinGap = 6;
constexpr std::size_t kBpsMinRun = 16; // one-byte runs worth a TargetCopy
// A run-length record (8 bytes) and the header of the literal record after
// it (5) cost 13 bytes: longer runs of one byte are worth one.
constexpr std::size_t kIpsMinRun = 14;


// First offset from `from` where source and target differ, or `end`.
std::size_t firstDifference(Span source, Span target, std::size_t from, std::size_t end)
{
    std::size_t i = from;
    for (; i + 8 <= end; i += 8) {
        std::uint64_t a, b;
        std::memcpy(&a, source.data() + i, 8);
        std::memcpy(&b, target.data() + i, 8);
        if (a != b) break;
    }
    while (i < end && source[i] == target[i]) ++i;
    return i;
}

// First offset from `from` where source and target agree, or `end`.
std::size_t firstAgreement(Span source, Span target, std::size_t from, std::size_t end)
{
    while (from < end && source[from] != target[from]) ++from;
    return from;
}

// --- BPS --------------------------------------------------------------------

class BpsWriter {
public:
    explicit BpsWriter(Span target) : target_(target) {}

    void number(std::uint64_t value)
    {
        for (;;) {
            const auto low = static_cast<std::uint8_t>(value & 0x7F);
            value >>= 7;
            if (value == 0) {
                out.push_back(0x80 | low);
                return;
            }
            out.push_back(low);
            --value;
        }
    }

    void sourceRead(std::size_t length) { action(length, 0); }

    // Changed bytes [begin, end): literal bytes, with every long run of one
    // byte value written once and repeated by a TargetCopy of the byte
    // before it.
    void changed(std::size_t begin, std::size_t end)
    {
        std::size_t literal = begin;
        for (std::size_t i = begin; i < end;) {
            std::size_t run = i + 1;
            while (run < end && target_[run] == target_[i]) ++run;
            if (run - i >= kBpsMinRun) {
                targetRead(literal, i + 1);
                targetCopy(i, run - i - 1);
                literal = run;
            }
            i = run;
        }
        targetRead(literal, end);
    }

    Bytes out;

private:
    void action(std::size_t length, int kind) { number(((std::uint64_t{length} - 1) << 2) | kind); }

    void targetRead(std::size_t begin, std::size_t end)
    {
        if (end <= begin) return;
        action(end - begin, 1);
        out.insert(out.end(), target_.begin() + static_cast<std::ptrdiff_t>(begin),
                   target_.begin() + static_cast<std::ptrdiff_t>(end));
    }

    void targetCopy(std::size_t from, std::size_t length)
    {
        action(length, 3);
        const auto delta = static_cast<std::int64_t>(from) - static_cast<std::int64_t>(targetCursor_);
        number((static_cast<std::uint64_t>(delta < 0 ? -delta : delta) << 1) | (delta < 0 ? 1 : 0));
        targetCursor_ = from + length;
    }

    Span target_;
    std::size_t targetCursor_ = 0; // the applier's target-relative offset
};

void appendLittle32(Bytes& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// --- IPS --------------------------------------------------------------------

void ipsRecord(Bytes& out, Span target, std::size_t offset, std::size_t length)
{
    const std::uint8_t head[5] = {static_cast<std::uint8_t>(offset >> 16), static_cast<std::uint8_t>(offset >> 8),
                                  static_cast<std::uint8_t>(offset), static_cast<std::uint8_t>(length >> 8),
                                  static_cast<std::uint8_t>(length)};
    out.insert(out.end(), head, head + 5);
    out.insert(out.end(), target.begin() + static_cast<std::ptrdiff_t>(offset),
               target.begin() + static_cast<std::ptrdiff_t>(offset + length));
}

void ipsRun(Bytes& out, std::size_t offset, std::size_t length, std::uint8_t value)
{
    const std::uint8_t record[8] = {static_cast<std::uint8_t>(offset >> 16), static_cast<std::uint8_t>(offset >> 8),
                                    static_cast<std::uint8_t>(offset), 0, 0, static_cast<std::uint8_t>(length >> 8),
                                    static_cast<std::uint8_t>(length), value};
    out.insert(out.end(), record, record + 8);
}

// Literal records for [begin, end), at most kIpsMaxRecord each, none
// starting at kIpsEofOffset.
void ipsLiteral(Bytes& out, Span target, std::size_t begin, std::size_t end)
{
    if (begin >= end) return;
    if (begin == kIpsEofOffset) --begin; // that byte is unchanged or rewritten as it is: harmless
    while (begin < end) {
        std::size_t length = std::min(kIpsMaxRecord, end - begin);
        if (begin + length == kIpsEofOffset && length < end - begin) --length;
        ipsRecord(out, target, begin, length);
        begin += length;
    }
}

// Run-length records for the `length` bytes of one value at `begin`; a run
// that would start at kIpsEofOffset takes its first byte in a literal
// record with the byte before.
void ipsRunRecords(Bytes& out, Span target, std::size_t begin, std::size_t length)
{
    const std::uint8_t value = target[begin];
    while (length > 0) {
        if (begin == kIpsEofOffset) {
            ipsRecord(out, target, begin - 1, 2);
            ++begin, --length;
            continue;
        }
        std::size_t n = std::min(kIpsMaxRecord, length);
        if (begin + n == kIpsEofOffset && n < length) --n;
        ipsRun(out, begin, n, value);
        begin += n;
        length -= n;
    }
}

// Records for the changed bytes [begin, end): a run of one byte value
// longer than a run-length record and a new record header cost becomes a
// run-length record (3-byte offset, size 0, 2-byte count, the value).
void ipsChanged(Bytes& out, Span target, std::size_t begin, std::size_t end)
{
    std::size_t literal = begin;
    for (std::size_t i = begin; i < end;) {
        std::size_t run = i + 1;
        while (run < end && target[run] == target[i]) ++run;
        if (run - i >= kIpsMinRun) {
            ipsLiteral(out, target, literal, i);
            ipsRunRecords(out, target, i, run - i);
            literal = run;
        }
        i = run;
    }
    ipsLiteral(out, target, literal, end);
}

std::string sizeText(std::size_t bytes)
{
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

} // namespace

std::optional<PatchFormat> patchFormat(const std::string& path)
{
    const std::string ext = lowerCaseExtension(path);
    if (ext == "bps") return PatchFormat::Bps;
    if (ext == "ips") return PatchFormat::Ips;
    return std::nullopt;
}

Outcome<Bytes> makeBpsPatch(Span source, Span target)
{
    BpsWriter w(target);
    w.out = {'B', 'P', 'S', '1'};
    w.number(source.size());
    w.number(target.size());
    w.number(0); // no metadata

    const std::size_t common = std::min(source.size(), target.size());
    std::size_t changedFrom = 0; // start of the changed bytes not yet written
    std::size_t i = 0;
    while (i < common) {
        const std::size_t same = firstDifference(source, target, i, common);
        // A short unchanged stretch between changed bytes joins them; one at
        // either end of the target is always read from the source.
        if (same - i >= kBpsMinSourceRead || i == 0 || same == target.size()) {
            if (same > i) {
                w.changed(changedFrom, i);
                w.sourceRead(same - i);
                changedFrom = same;
            }
        }
        i = firstAgreement(source, target, same, common);
    }
    w.changed(changedFrom, target.size());

    appendLittle32(w.out, crc32Of(source));
    appendLittle32(w.out, crc32Of(target));
    appendLittle32(w.out, crc32Of(w.out));
    return Result::success(std::move(w.out));
}

Outcome<Bytes> makeIpsPatch(Span source, Span target)
{
    if (target.size() > kIpsMaxTarget)
        return Result::failure("An IPS patch reaches only the first 16 MiB; the edited ROM is " +
                               sizeText(target.size()) + ". Choose BPS.");
    if (target.size() < source.size())
        return Result::failure("An IPS patch cannot make a file shorter, and the edited ROM is " +
                               sizeText(source.size() - target.size()) + " shorter than the clean one. Choose BPS.");
    Bytes out = {'P', 'A', 'T', 'C', 'H'};
    const std::size_t common = source.size();
    std::size_t begin = firstDifference(source, target, 0, common);
    while (begin < common) {
        // Extend over the changed bytes and over unchanged gaps too short to
        // be worth a record header of their own.
        std::size_t end = firstAgreement(source, target, begin, common);
        for (;;) {
            const std::size_t next = firstDifference(source, target, end, common);
            if (next >= common || next - end >= kIpsMinGap) break;
            end = firstAgreement(source, target, next, common);
        }
        if (end == common) break; // runs on into the added bytes
        ipsChanged(out, target, begin, end);
        begin = firstDifference(source, target, end, common);
    }
    if (begin < target.size()) ipsChanged(out, target, begin, target.size());
    out.insert(out.end(), {'E', 'O', 'F'});
    return Result::success(std::move(out));
}

Span withoutCopierHeader(Span image)
{
    return romKind(image) == RomKind::CopierImage ? image.subspan(RomFile::kCopierHeaderBytes) : image;
}

Outcome<Bytes> makeRomPatch(PatchFormat format, Span clean, Span edited)
{
    const RomKind cleanKind = romKind(clean), editedKind = romKind(edited);
    if (cleanKind == RomKind::Unknown) return Result::failure("The clean ROM " + describeRomKind(cleanKind));
    if (editedKind == RomKind::Unknown) return Result::failure("The edited ROM " + describeRomKind(editedKind));
    const Span source = withoutCopierHeader(clean), target = withoutCopierHeader(edited);
    return format == PatchFormat::Bps ? makeBpsPatch(source, target) : makeIpsPatch(source, target);
}

IoResult exportRomPatch(const std::string& patchPath, const std::string& cleanPath, const std::string& editedPath)
{
    const auto format = patchFormat(patchPath);
    if (!format) return IoResult::failure("Cannot write " + patchPath + ": a patch is chosen by its extension, .bps or .ips");
    if (namesSameFile(patchPath, cleanPath) || namesSameFile(patchPath, editedPath))
        return IoResult::failure("Cannot write the patch over one of its ROMs: " + patchPath);
    const auto clean = readWholeFile(cleanPath, kMaxRomBytes);
    if (!clean.ok) return IoResult::failure(clean.error);
    const auto edited = readWholeFile(editedPath, kMaxRomBytes);
    if (!edited.ok) return IoResult::failure(edited.error);
    const auto patch = makeRomPatch(*format, clean.value, edited.value);
    if (!patch.ok) return IoResult::failure(patch.error);
    return writeWholeFile(patchPath, patch.value);
}

} // namespace tessel
