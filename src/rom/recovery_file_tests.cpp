#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <fstream>
#include <sys/stat.h>
#include <zlib.h>

#include "file/state_files.h"
#include "model/edit_marks.h"
#include "rom/recovery_file.h"
#include "rom/sprite_catalogue.h"
#include "support/fault_io.h"
#include "support/rom_fixture.h"

namespace tessel {
namespace {

using Bytes = std::vector<std::uint8_t>;

const RecoveryInfo kInfo{"/roms/Oaken shore.smc", {0x801, 123456789012ULL}, 1700000000, 0xDEADBEEF};

// Whether `got` holds the part of `want` a recovery file keeps: the
// sprite's width and height of the work area, and nothing outside it.
bool keptArea(const RecoveredSprite& got, const SpriteRecord& want)
{
    if (got.width != want.widthPixels() || got.height != want.heightPixels()) return false;
    for (int y = 0; y < kBufferHeight; ++y)
        for (int x = 0; x < kBufferWidth; ++x) {
            const int at = y * kBufferWidth + x;
            if (got.pixels[at] != (x < got.width && y < got.height ? want.pixels[at] : 0)) return false;
        }
    return true;
}

// A sealed file of `state`'s edited sprites.
Bytes sealedFile(const EditorState& state, const RecoveryInfo& info = kInfo)
{
    Bytes bytes;
    snapshotRecovery(info, state.document, bytes);
    sealRecovery(bytes);
    return bytes;
}

TEST(RecoveryFile, KeepsThePixelsOfExactlyTheEditedSprites)
{
    auto state = std::make_unique<EditorState>();
    initRecordsFromCatalogue(state->document.spriteStore);
    std::mt19937 rng(3);
    for (SpriteRecord& r : state->document.spriteStore)
        for (auto& p : r.pixels) p = static_cast<std::uint8_t>(rng() % 16);
    for (int sprite : {1143, 0, 700}) markSpriteEdited(state->document, sprite);

    Bytes bytes(9000, 0xAB); // an earlier, longer snapshot in the same buffer
    snapshotRecovery(kInfo, state->document, bytes);
    sealRecovery(bytes);
    std::string why;
    const auto contents = decodeRecovery(bytes, &why);
    ASSERT_TRUE(contents) << why;
    EXPECT_EQ(contents->info.romPath, kInfo.romPath);
    EXPECT_EQ(contents->info.romKey, kInfo.romKey);
    EXPECT_EQ(contents->info.savedAt, kInfo.savedAt);
    EXPECT_EQ(contents->info.spriteAreaCrc, kInfo.spriteAreaCrc);
    ASSERT_EQ(contents->sprites.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const int sprite = std::array{0, 700, 1143}[i];
        EXPECT_EQ(contents->sprites[i].sprite, sprite);
        EXPECT_TRUE(keptArea(contents->sprites[i], state->document.spriteStore[sprite])) << sprite;
    }

    clearAllEditMarks(state->document);
    const auto none = decodeRecovery(sealedFile(*state));
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->sprites.empty());
}

TEST(RecoveryFile, DamagedFilesAreRefused)
{
    auto state = std::make_unique<EditorState>();
    initRecordsFromCatalogue(state->document.spriteStore);
    markSpriteEdited(state->document, 5);
    markSpriteEdited(state->document, 9);
    const Bytes good = sealedFile(*state);
    const std::size_t firstSprite = 48 + kInfo.romPath.size();
    const std::size_t secondSprite = firstSprite + 4 + state->document.spriteStore[5].widthPixels() * state->document.spriteStore[5].heightPixels();
    auto setWord = [](Bytes& b, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    // Each damage; `reseal` gives the file a matching checksum again, so
    // that the check behind the checksum is the one that must refuse it.
    const struct {
        const char* what;
        bool reseal;
        std::function<void(Bytes&)> damage;
    } cases[] = {
        {"empty", false, [](Bytes& b) { b.clear(); }},
        {"cut short by one byte", false, [](Bytes& b) { b.pop_back(); }},
        {"cut inside the header", false, [](Bytes& b) { b.resize(30); }},
        {"a byte too many", true, [](Bytes& b) { b.push_back(0); }},
        {"a pixel changed", false, [&](Bytes& b) { b[firstSprite + 4 + 10] ^= 1; }},
        {"the path changed", false, [](Bytes& b) { b[48] ^= 0x20; }},
        {"another magic", true, [](Bytes& b) { b[0] = 'X'; }},
        {"another version", true, [&](Bytes& b) { setWord(b, 8, 2); }},
        {"a path longer than the file", true, [&](Bytes& b) { setWord(b, 44, 0x7FFFFFFF); }},
        {"fewer sprites than it says", true, [&](Bytes& b) { setWord(b, 12, 3); }},
        {"a sprite past the last", true, [&](Bytes& b) { b[firstSprite] = 0x78, b[firstSprite + 1] = 0x04; }},
        {"a sprite named twice", true, [&](Bytes& b) { b[secondSprite] = 5; }},
        {"a sprite wider than the work area", true, [&](Bytes& b) { b[firstSprite + 2] = 65; }},
        {"a sprite taller than it is", true, [&](Bytes& b) { ++b[secondSprite + 3]; }},
    };
    for (const auto& c : cases) {
        Bytes bytes = good;
        c.damage(bytes);
        if (c.reseal) sealRecovery(bytes);
        std::string why;
        EXPECT_FALSE(decodeRecovery(bytes, &why)) << c.what;
        EXPECT_FALSE(why.empty()) << c.what;
    }
}

TEST(RecoveryFile, ChecksumFollowsTheSpriteAreaOnly)
{
    testing::RomFixture rom;
    SpriteAreaBytes area;
    std::uint32_t before = spriteAreaChecksum(rom.state().document.diskSpriteArea), after = 0;

    std::vector<std::uint8_t> bytes = rom.original;
    bytes[kSpriteAreaBegin - 1] ^= 0xFF; // just outside
    bytes[kSpriteAreaEnd] ^= 0xFF;
    testing::ScratchFile outside;
    outside.write(bytes);
    RomFile file;
    ASSERT_TRUE(file.open(outside.path()).ok);
    ASSERT_TRUE(file.read(kSpriteAreaBegin, area).ok);
    after = spriteAreaChecksum(area);
    EXPECT_EQ(after, before);

    bytes[kSpriteAreaEnd - 1] ^= 0x01; // the last byte inside
    outside.write(bytes);
    ASSERT_TRUE(file.read(kSpriteAreaBegin, area).ok);
    after = spriteAreaChecksum(area);
    EXPECT_NE(after, before);
}

TEST(RecoveryFile, NamesTellRomsApartAndAreNeverHidden)
{
    const std::string a = recoveryFileName("/roms/a/game.smc");
    EXPECT_EQ(a.rfind("game.smc-", 0), 0u) << a;
    EXPECT_NE(a, recoveryFileName("/roms/b/game.smc"));
    EXPECT_EQ(a, recoveryFileName("/roms/a/game.smc"));
    EXPECT_NE(recoveryFileName("/roms/.hidden.smc")[0], '.');
}

TEST(RecoveryFile, WrittenWholeReadBackAndRemoved)
{
    testing::ScratchFile dir(testing::ScratchFile::Kind::Directory);
    auto state = std::make_unique<EditorState>();
    markSpriteEdited(state->document, 42);
    EXPECT_FALSE(readRecoveryFile(dir.path(), "r").value);
    EXPECT_EQ(readRecoveryFile(dir.path(), "r").error, "") << "no file is no damage";

    ASSERT_TRUE(replaceFileDurably(dir.path(), "r", Bytes(10, 1)).ok);
    ASSERT_TRUE(replaceFileDurably(dir.path(), "r", sealedFile(*state)).ok);
    const auto read = readRecoveryFile(dir.path(), "r");
    const auto& contents = read.value;
    ASSERT_TRUE(contents) << read.error;
    EXPECT_EQ(contents->sprites.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/r.tmp"));

    ASSERT_TRUE(removeFileDurably(dir.path(), "r").ok);
    EXPECT_TRUE(removeFileDurably(dir.path(), "r").ok) << "a file already gone is no failure";
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/r"));
}

// Open ROM reads the recovery file on the window's thread: a pipe there is
// refused unread, and a folder someone else owns is not looked into.
TEST(RecoveryFile, APipeOrAForeignFolderIsNotRead)
{
    testing::ScratchFile dir(testing::ScratchFile::Kind::Directory);
    ASSERT_EQ(::mkfifo((dir.path() + "/r").c_str(), 0600), 0);
    EXPECT_EQ(readRecoveryFile(dir.path(), "r").error, "r is not a regular file.");

    testing::FaultIo io;
    io.alterLinkStatus = [](FileStatus& s) { s.owner = ::geteuid() + 1; };
    const auto read = readRecoveryFile(dir.path(), "r", io);
    EXPECT_TRUE(read.ok && !read.value);
    EXPECT_EQ(io.calls(testing::IoOp::Open), 0);
}

// A file made byte by byte from the layout, with a good checksum: one
// sprite, `width` x `height` pixels all `pixel`.
Bytes handMadeFile(int sprite, int width, int height, std::uint8_t pixel)
{
    Bytes b;
    auto put = [&b](std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    for (char c : std::string("TSLRECOV")) b.push_back(static_cast<std::uint8_t>(c));
    put(1, 4), put(1, 4), put(7, 8), put(8, 8), put(1700000000, 8), put(0x12345678, 4), put(1, 4);
    b.push_back('/'); // the path
    put(sprite, 2), put(width, 1), put(height, 1);
    b.insert(b.end(), static_cast<std::size_t>(width * height), pixel);
    put(::crc32(0, b.data(), static_cast<uInt>(b.size())), 4);
    return b;
}

TEST(RecoveryFile, AForgedFileWithAGoodChecksumIsRefused)
{
    int small = 0; // a sprite of 2 x 2 tiles
    while (spriteCatalogue()[small].widthTiles != 2 || spriteCatalogue()[small].heightTiles != 2) ++small;
    const struct { const char* what; int width, height; std::uint8_t pixel; bool usable; } cases[] = {
        {"its own size", 16, 16, 15, true},
        {"a part of it", 8, 16, 3, true},
        {"a pixel value of 0x1F", 16, 16, 0x1F, false},
        {"the whole work area", 64, 80, 1, false},
        {"a column too many", 17, 16, 1, false},
    };
    for (const auto& c : cases) {
        std::string why;
        const auto contents = decodeRecovery(handMadeFile(small, c.width, c.height, c.pixel), &why);
        ASSERT_EQ(bool(contents), c.usable) << c.what << ": " << why;
        if (!contents) continue;
        EXPECT_TRUE(contents->info.romTitle.empty()) << "no title in a file that has none";
        const PixelBuffer& px = contents->sprites[0].pixels;
        EXPECT_EQ(px[(c.height - 1) * kBufferWidth + c.width - 1], c.pixel) << c.what;
        EXPECT_EQ(px[c.width], 0) << c.what << ": nothing right of the part kept";
    }
}

TEST(RecoveryFile, AMovedRomFindsItsFileBySameInodeOrSameContents)
{
    namespace fs = std::filesystem;
    testing::ScratchFile dir(testing::ScratchFile::Kind::Directory);
    const std::string folder = dir.path() + "/recovery", before = dir.path() + "/a.smc", after = dir.path() + "/b.smc";
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_all);
    auto writeRecovery = [&](const std::string& name, const RecoveryInfo& info) {
        auto state = std::make_unique<EditorState>();
        markSpriteEdited(state->document, 3);
        ASSERT_TRUE(replaceFileDurably(folder, name, sealedFile(*state, info)).ok);
    };
    auto found = [&](const RecoveryInfo& rom) {
        const auto moved = findMovedRecovery(listRecoveryFiles(folder).usable, rom);
        return moved ? moved->name : std::string("none");
    };
    const std::string title(kRecoveryTitleBytes, 'T'), otherTitle(kRecoveryTitleBytes, 'U');
    { std::ofstream(before) << "rom"; }
    struct stat st {};
    ASSERT_EQ(::stat(before.c_str(), &st), 0);
    const RecoveryInfo written{before, {st.st_dev, st.st_ino}, 100, 0xC0FFEE, title};
    writeRecovery("a.recovery", written);
    writeRecovery("other.recovery", {"/gone/other.smc", {9, 9}, 200, 0xBAD, title}); // never taken for a.smc's

    const RecoveryInfo copy{after, {1, 2}, 0, written.spriteAreaCrc, title};
    EXPECT_EQ(found(copy), "none") << "a copy while the ROM is still at its path";
    fs::rename(before, after);
    const struct {
        const char* what;
        RecoveryInfo rom;
        const char* file;
    } cases[] = {
        {"renamed: the same inode", {after, written.romKey, 0, 0x1, otherTitle}, "a.recovery"},
        {"another file system: the same title and sprites", copy, "a.recovery"},
        {"another title", {after, {1, 2}, 0, written.spriteAreaCrc, otherTitle}, "none"},
        {"other sprites", {after, {1, 2}, 0, 0x1, title}, "none"},
    };
    for (const auto& c : cases) EXPECT_EQ(found(c.rom), c.file) << c.what;
    writeRecovery("a.recovery", {before, written.romKey, 100, 0xC0FFEE, ""});
    EXPECT_EQ(found({after, {1, 2}, 0, 0xC0FFEE, title}), "a.recovery") << "a file without a title";
}

TEST(StateFiles, FolderFollowsXdgStateHomeElseHome)
{
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* xdg = std::getenv("XDG_STATE_HOME");
    const std::string savedXdg = xdg ? xdg : "";
    const struct {
        const char* xdg; // nullptr: not set
        const char* expected;
    } cases[] = {
        {"/state", "/state/tessel/recovery"},
        {"relative/state", "/home/u/.local/state/tessel/recovery"},
        {"", "/home/u/.local/state/tessel/recovery"},
        {nullptr, "/home/u/.local/state/tessel/recovery"},
    };
    ::setenv("HOME", "/home/u", 1);
    for (const auto& c : cases) {
        if (c.xdg)
            ::setenv("XDG_STATE_HOME", c.xdg, 1);
        else
            ::unsetenv("XDG_STATE_HOME");
        EXPECT_EQ(recoveryDirectory(), c.expected) << (c.xdg ? c.xdg : "(unset)");
    }
    ::setenv("HOME", savedHome.c_str(), 1);
    if (xdg)
        ::setenv("XDG_STATE_HOME", savedXdg.c_str(), 1);
    else
        ::unsetenv("XDG_STATE_HOME");
}

} // namespace
} // namespace tessel
