#include "interchange/patch_formats.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <variant>
#include <cstring>

#include "file/durable_file.h"
#include "file/file_access.h"
#include "interchange/rom_kind.h"
#include "support/interchange_data.h"
#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

namespace tessel {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t crcOf(const std::uint8_t* p, std::size_t n)
{
    return static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), p, static_cast<uInt>(n)));
}

std::uint32_t le32(const Bytes& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

// BPS as published: every number a variable-length integer whose
// continuation bytes add one; four actions; CRCs of source, target, patch.
// Returns the target, or a reason.
std::variant<Bytes, std::string> applyBps(const Bytes& patch, const Bytes& source)
{
    const std::size_t n = patch.size();
    if (n < 16 || std::string(patch.begin(), patch.begin() + 4) != "BPS1") return "no BPS1";
    if (crcOf(patch.data(), n - 4) != le32(patch, n - 4)) return "patch CRC";
    if (crcOf(source.data(), source.size()) != le32(patch, n - 12)) return "source CRC";
    std::size_t p = 4;
    const auto number = [&] {
        std::uint64_t data = 0, shift = 1;
        for (;;) {
            const std::uint8_t x = patch.at(p++);
            data += (x & 0x7F) * shift;
            if (x & 0x80) return data;
            shift <<= 7;
            data += shift;
        }
    };
    if (number() != source.size()) return "source size";
    Bytes target(number());
    p += number(); // metadata
    std::size_t out = 0;
    std::int64_t sourceRel = 0, targetRel = 0;
    const auto signedNumber = [&] {
        const std::uint64_t d = number();
        return (d & 1 ? -1 : 1) * static_cast<std::int64_t>(d >> 1);
    };
    while (p < n - 12) {
        const std::uint64_t data = number();
        const std::uint64_t length = (data >> 2) + 1;
        for (std::uint64_t i = 0; i < length && (data & 3) < 2; ++i, ++out)
            target.at(out) = (data & 3) == 0 ? source.at(out) : patch.at(p++);
        if ((data & 3) == 2) sourceRel += signedNumber();
        if ((data & 3) == 3) targetRel += signedNumber();
        for (std::uint64_t i = 0; i < length && (data & 3) >= 2; ++i, ++out)
            target.at(out) = (data & 3) == 2 ? source.at(sourceRel++) : target.at(targetRel++);
    }
    if (p != n - 12 || out != target.size()) return "actions do not fill the target";
    if (crcOf(target.data(), target.size()) != le32(patch, n - 8)) return "target CRC";
    return target;
}

// IPS as published: records of a 3-byte offset and 2-byte size (size 0: a
// run of a 2-byte count and one byte) up to the three bytes "EOF".
std::variant<Bytes, std::string> applyIps(const Bytes& patch, const Bytes& source)
{
    if (patch.size() < 8 || std::string(patch.begin(), patch.begin() + 5) != "PATCH") return "no PATCH";
    Bytes target = source;
    std::size_t p = 5;
    while (std::string(patch.begin() + p, patch.begin() + p + 3) != "EOF") {
        const std::size_t offset = (patch.at(p) << 16) | (patch.at(p + 1) << 8) | patch.at(p + 2);
        std::size_t size = (patch.at(p + 3) << 8) | patch.at(p + 4);
        p += 5;
        const bool run = size == 0;
        if (run) size = (patch.at(p) << 8) | patch.at(p + 1), p += 2;
        if (target.size() < offset + size) target.resize(offset + size);
        for (std::size_t i = 0; i < size; ++i) target[offset + i] = run ? patch.at(p) : patch.at(p + i);
        p += run ? 1 : size;
    }
    if (p + 3 != patch.size()) return "bytes after EOF";
    return target;
}

Bytes text(const char* s) { return Bytes(s, s + std::strlen(s)); }

TEST(PatchFormats, BpsOfTinyFilesIsWorkedOutByHand)
{
    // SourceRead 2, TargetRead 1 "X", SourceRead 1, then the three CRCs.
    EXPECT_EQ(makeBpsPatch(text("ABCD"), text("ABXD")).value,
              (Bytes{0x42, 0x50, 0x53, 0x31, 0x84, 0x84, 0x80, 0x84, 0x81, 0x58, 0x80, 0xa5, 0x20, 0x17, 0xdb,
                     0x3f, 0xeb, 0x21, 0x72, 0xee, 0xaa, 0x9c, 0x24}));
    // 20 Z's: one read from the patch, 19 copied from the byte before
    // (TargetCopy, length 19, offset +2).
    EXPECT_EQ(makeBpsPatch(text("AB"), text("ABZZZZZZZZZZZZZZZZZZZZ")).value,
              (Bytes{0x42, 0x50, 0x53, 0x31, 0x82, 0x96, 0x80, 0x84, 0x81, 0x5a, 0xcb, 0x84, 0x07, 0x4c, 0x69,
                     0x30, 0x16, 0xba, 0x88, 0xbe, 0x6e, 0xd5, 0xae, 0xc1}));
}

TEST(PatchFormats, PatchesTurnTheSourceIntoTheTarget)
{
    std::mt19937 random(13);
    Bytes big(300000);
    for (auto& b : big) b = static_cast<std::uint8_t>(random());
    Bytes edited = big;
    for (int i = 0; i < 200; ++i) edited[random() % edited.size()] ^= 1 + random() % 255;
    std::fill(edited.begin() + 1000, edited.begin() + 70000, 0x55); // a long run, a record split
    Bytes grown = edited;
    grown.resize(400000, 0xFF);
    struct Case {
        const char* what;
        Bytes source, target;
    } cases[] = {
        {"equal", text("ABCD"), text("ABCD")},
        {"empty", {}, {}},
        {"first and last byte", text("ABCDEFGH"), text("xBCDEFGx")},
        {"short unchanged gaps", text("AAAAAAAAAAAAAAAA"), text("AbAbAAbAAAbAAAAb")},
        {"grows", text("AB"), text("ABCDEEEEEEEEEEEEEEEEEEEEEEEEEEEE")},
        {"from nothing", {}, text("xyz")},
        {"scattered edits", big, edited},
        {"scattered edits, grown", big, grown},
    };
    for (const Case& c : cases) {
        const auto bps = makeBpsPatch(c.source, c.target);
        ASSERT_TRUE(bps.ok) << c.what;
        const auto fromBps = applyBps(bps.value, c.source);
        ASSERT_TRUE(std::holds_alternative<Bytes>(fromBps)) << c.what << ": " << std::get<std::string>(fromBps);
        EXPECT_TRUE(std::get<Bytes>(fromBps) == c.target) << c.what;
        const auto ips = makeIpsPatch(c.source, c.target);
        ASSERT_TRUE(ips.ok) << c.what;
        const auto fromIps = applyIps(ips.value, c.source);
        ASSERT_TRUE(std::holds_alternative<Bytes>(fromIps)) << c.what << ": " << std::get<std::string>(fromIps);
        EXPECT_TRUE(std::get<Bytes>(fromIps) == c.target) << c.what;
    }
    EXPECT_EQ(makeIpsPatch(text("ABCD"), text("ABCD")).value, text("PATCHEOF"));
    EXPECT_LT(makeBpsPatch(big, grown).value.size(), 400u + 1000); // runs are copied, not spelled out
    // Shrinking is BPS only.
    const Bytes shorter(edited.begin(), edited.end() - 10);
    const auto shrunk = applyBps(makeBpsPatch(big, shorter).value, big);
    EXPECT_TRUE(std::holds_alternative<Bytes>(shrunk) && std::get<Bytes>(shrunk) == shorter);
}

TEST(PatchFormats, IpsRecordsStayWithinTheirLimits)
{
    const auto header = [](const Bytes& p, std::size_t at) { return Bytes(p.begin() + at, p.begin() + at + 5); };
    // Changed bytes of two values in turn, so that no run-length record
    // is worth it.
    const auto alternating = [](Bytes& b, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) b[i] = 1 + (i & 1);
    };
    // 70,000 changed bytes: 65,535 and 4,465 (0x1171).
    Bytes changed(70000, 0);
    alternating(changed, 0, changed.size());
    const auto split = makeIpsPatch(Bytes(70000, 0), changed).value;
    EXPECT_EQ(header(split, 5), (Bytes{0, 0, 0, 0xFF, 0xFF}));
    EXPECT_EQ(header(split, 10 + 65535), (Bytes{0x00, 0xFF, 0xFF, 0x11, 0x71}));
    EXPECT_EQ(split.size(), 5 + 2 * 5 + 70000 + 3u);

    // A change at 0x454F46 ("EOF") is written from the byte before.
    Bytes source(0x454F50, 0), target = source;
    target[0x454F46] = 1;
    EXPECT_EQ(makeIpsPatch(source, target).value,
              (Bytes{'P', 'A', 'T', 'C', 'H', 0x45, 0x4F, 0x45, 0, 2, 0, 1, 'E', 'O', 'F'}));
    // A split that would start the next record there ends one byte early.
    alternating(target, 0x454F46 - 65535, 0x454F46 + 5);
    const auto eof = makeIpsPatch(source, target).value;
    EXPECT_EQ(header(eof, 5), (Bytes{0x44, 0x4F, 0x47, 0xFF, 0xFE}));
    EXPECT_EQ(header(eof, 10 + 65534), (Bytes{0x45, 0x4F, 0x45, 0, 6}));
    EXPECT_TRUE(std::get<Bytes>(applyIps(eof, source)) == target);

    // A 4 KiB run of one byte is one run-length record: offset, size 0,
    // count 0x1000, the value. One that would start at 0x454F46 takes its
    // first byte with the byte before it in a literal record.
    EXPECT_EQ(makeIpsPatch(Bytes(8192, 0), [] { Bytes b(8192, 0); std::fill_n(b.begin() + 16, 4096, 7); return b; }()).value,
              (Bytes{'P', 'A', 'T', 'C', 'H', 0, 0, 16, 0, 0, 0x10, 0, 7, 'E', 'O', 'F'}));
    const Bytes past(0x454F60, 0);
    Bytes runAtEof = past;
    std::fill_n(runAtEof.begin() + 0x454F46, 20, 9);
    EXPECT_EQ(makeIpsPatch(past, runAtEof).value,
              (Bytes{'P', 'A', 'T', 'C', 'H', 0x45, 0x4F, 0x45, 0, 2, 0, 9, 0x45, 0x4F, 0x47, 0, 0, 0, 19, 9, 'E', 'O', 'F'}));

    const auto tooBig = makeIpsPatch({}, Bytes((16 << 20) + 1, 0));
    EXPECT_NE(tooBig.error.find("16 MiB"), std::string::npos);
    const auto shorter = makeIpsPatch(text("ABCD"), text("AB"));
    EXPECT_EQ(shorter.error, "An IPS patch cannot make a file shorter, and the edited ROM is 2 bytes shorter "
                             "than the clean one. Choose BPS.");
}

TEST(PatchFormats, RomPatchesLeaveTheCopierHeaderOutAndRefusalsWriteNothing)
{
    const Bytes headered = testing::buildSyntheticRom();
    const Bytes headerless(headered.begin() + 512, headered.end());
    const Bytes other = testing::buildSyntheticRom({.title = "ANOTHER"});
    EXPECT_EQ(romKind(headered), RomKind::CopierImage);
    EXPECT_EQ(romKind(headerless), RomKind::Headerless);
    EXPECT_EQ(romKind(other), RomKind::Unknown);
    EXPECT_EQ(romKind(Bytes(100, 0)), RomKind::Unknown);

    Bytes edited = headered;
    edited[0x110200] ^= 0xFF;
    EXPECT_TRUE(makeRomPatch(PatchFormat::Bps, headered, edited).ok);
    // Mixed kinds are compared without the header.
    const Bytes editedDump(edited.begin() + 512, edited.end());
    EXPECT_TRUE(std::get<Bytes>(applyIps(makeRomPatch(PatchFormat::Ips, headerless, edited).value, headerless)) ==
                editedDump);
    EXPECT_NE(makeRomPatch(PatchFormat::Bps, other, edited).error.find("The clean ROM is not a ROM of Oakenshore"),
              std::string::npos);

    const testing::ScratchFolder dir;
    const std::string clean = dir.file("clean.sfc"), bare = dir.file("bare.ips"), patch = dir.file("out.BPS");
    ASSERT_TRUE(testing::writeSyntheticRom(clean));
    ASSERT_TRUE(writeWholeFile(bare, headerless).ok);
    EXPECT_EQ(exportRomPatch(patch, clean, clean).error, ""); // nothing edited: a valid patch all the same
    EXPECT_TRUE(std::get<Bytes>(applyBps(testing::readFileBytes(patch), headerless)) == headerless);
    EXPECT_TRUE(exportRomPatch(dir.file("mixed.ips"), bare, clean).ok);
    EXPECT_TRUE(testing::readFileBytes(dir.file("mixed.ips")) == text("PATCHEOF"));
    EXPECT_NE(exportRomPatch(dir.file("p.zip"), clean, clean).error.find(".bps or .ips"), std::string::npos);
    EXPECT_NE(exportRomPatch(bare, bare, clean).error.find("over one of its ROMs"), std::string::npos);
    EXPECT_TRUE(readWholeFile(bare, 1 << 22).value == headerless);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("")), {}), 4); // no refused patch
}

} // namespace
} // namespace tessel
