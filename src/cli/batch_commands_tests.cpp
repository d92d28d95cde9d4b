// The real program run as a build script runs it: no display, no Qt
// platform chosen. Checked from outside: exit status, stderr, the ROM's bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>

#include "cli/batch_commands.h"
#include "file/rom_file.h"
#include "interchange/png_image.h"
#include "model/sprite_store.h"
#include "rom/rom_backup.h"
#include "rom/sprite_catalogue.h"
#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

using namespace tessel;
using namespace tessel::testing;

namespace {

struct Finished {
    int status = -1;
    std::string err;
    std::string out;
};

std::string shellQuoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class BatchCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        rom = dir.path() + "/game.smc";
        ASSERT_TRUE(writeSyntheticRom(rom));
        original = readFileBytes(rom);
    }

    // `args` may name files in the scratch directory as "@name".
    Finished tessel(std::vector<std::string> args)
    {
        // Backups go to the scratch directory, never the real home.
        std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_STATE_HOME=" +
                              shellQuoted(dir.path() + "/state") + " XDG_CONFIG_HOME=" +
                              shellQuoted(dir.path() + "/config") + " " + shellQuoted(TESSEL_BINARY);
        for (std::string& a : args) {
            if (a == "ROM") a = rom;
            else if (a.starts_with('@')) a = dir.path() + "/" + a.substr(1);
            command += " " + shellQuoted(a);
        }
        const std::string errPath = dir.path() + "/stderr", outPath = dir.path() + "/stdout";
        command += " >" + shellQuoted(outPath) + " 2>" + shellQuoted(errPath);
        const int r = std::system(command.c_str());
        const auto err = readFileBytes(errPath), out = readFileBytes(outPath);
        return {WIFEXITED(r) ? WEXITSTATUS(r) : -1, std::string(err.begin(), err.end()), std::string(out.begin(), out.end())};
    }

    long changedBytes() const
    {
        const auto now = readFileBytes(rom);
        if (now.size() != original.size()) return -1;
        long n = 0;
        for (std::size_t i = 0; i < now.size(); ++i) n += now[i] != original[i];
        return n;
    }

    ScratchFile dir{ScratchFile::Kind::Directory};
    std::string rom;
    std::vector<std::uint8_t> original;
};

struct Step {
    std::vector<std::string> args;
    int status;
};

struct Case {
    const char* name;
    std::vector<Step> steps;
};

// Each case leaves the ROM exactly as it was: round trips change nothing,
// failures and usage errors write nothing. A failure says why in one line.
TEST_F(BatchCommands, ExitStatusAndNoByteChanged)
{
    const std::vector<Case> cases = {
        {"sprite round trip", {{{"export-sprite", "ROM", "7", "@s.png"}, 0}, {{"import-sprite", "ROM", "7", "@s.png"}, 0}}},
        {"sheet round trip", {{{"export-sheet", "ROM", "@sheet.png"}, 0}, {{"import-sheet", "ROM", "@sheet.png"}, 0}}},
        {"gpl round trip", {{{"export-palette", "ROM", "3", "@p.gpl"}, 0}, {{"import-palette", "ROM", "3", "@p.gpl"}, 0}}},
        {"pal round trip", {{{"export-palette", "ROM", "4", "@p.PAL"}, 0}, {{"import-palette", "ROM", "4", "@p.PAL"}, 0}}},
        {"act round trip", {{{"export-palette", "ROM", "5", "@p.act"}, 0}, {{"import-palette", "ROM", "5", "@p.act"}, 0}}},
        {"bin round trip", {{{"export-palette", "ROM", "31", "@p.bin"}, 0}, {{"import-palette", "ROM", "31", "@p.bin"}, 0}}},
        {"patch of a ROM to itself", {{{"make-patch", "ROM", "ROM", "@x.bps"}, 0}, {{"make-patch", "ROM", "ROM", "@x.ips"}, 0}}},
        {"empty patches applied", {{{"apply-patch", "ROM", "@x.bps"}, 0}, {{"apply-patch", "ROM", "@x.ips"}, 0}}},
        {"all sprites round trip", {{{"export-sprites", "ROM", "@"}, 0}, {{"import-sprites", "ROM", "@"}, 0}}},
        {"indexed sheet round trip",
         {{{"export-sheet", "--indexed", "ROM", "5", "@i.png"}, 0}, {{"import-sheet", "ROM", "@i.png"}, 0}}},
        {"usage errors",
         {{{"export-sprite", "ROM", "1144", "@s.png"}, 2},
          {{"export-sprite", "ROM", "-1", "@s.png"}, 2},
          {{"export-sprite", "ROM", "7x", "@s.png"}, 2},
          {{"export-sheet", "ROM"}, 2},
          {{"import-palette", "ROM", "32", "@p.gpl"}, 2},
          {{"import-palette", "ROM", "3", "@p.bin", "16"}, 2},
          {{"export-palette", "ROM", "3", "@p.txt"}, 2},
          {{"make-patch", "ROM", "ROM", "@x.zip"}, 2},
          {{"make-patch", "--force", "ROM", "ROM", "@x.bps"}, 2},
          {{"apply-patch", "ROM", "@x.zip"}, 2},
          {{"export-sprites", "ROM", "@", "9-3"}, 2},
          {{"diff", "--indexed", "ROM", "ROM"}, 2},
          {{"import-sprite", "--quietly", "ROM", "7", "@s.png"}, 2}}},
        {"failures",
         {{{"export-sprite", "@missing.smc", "7", "@s.png"}, 1},
          {{"import-sprite", "ROM", "7", "@missing.png"}, 1},
          {{"export-sprite", "ROM", "7", "ROM"}, 1},
          {{"export-sheet", "ROM", "ROM"}, 1},
          {{"import-palette", "ROM", "3", "@garbage.gpl"}, 1},
          {{"import-palette", "ROM", "20", "@cgram.bin"}, 1}, // which of its palettes?
          {{"import-sprite", "ROM", "8", "@wrong-size.png"}, 1},
          {{"import-sheet", "ROM", "@wrong-size.png"}, 1},
          {{"make-patch", "ROM", "@not-a-rom.smc", "@x.bps"}, 1},
          {{"apply-patch", "@not-a-rom.smc", "@x.bps", "@out.smc"}, 1},
          {{"import-sprites", "ROM", "@missing"}, 1},
          {{"import-sprites", "ROM", "@bad"}, 1},
          {{"import-sprites", "ROM", "@past"}, 1}}},
    };
    const std::string dirPath = dir.path();
    auto put = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
        FILE* f = std::fopen((dirPath + "/" + name).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    };
    put("garbage.gpl", {'G', 'I', 'M', 'P', '\n', 'x'});
    put("not-a-rom.smc", std::vector<std::uint8_t>(original.size(), 0));
    put("cgram.bin", std::vector<std::uint8_t>(512, 0));
    const std::vector<std::uint8_t> pixels(3 * 5, 1);
    const std::vector<Rgba> palette(16);
    put("wrong-size.png", encodeIndexedPng(3, 5, pixels, palette).value);
    // A folder of pictures with one that fits no sprite, and one whose
    // number names none: either refuses the whole run.
    for (const char* folder : {"/bad", "/past"}) ASSERT_EQ(::mkdir((dirPath + folder).c_str(), 0700), 0);
    put("bad/sprite-0000.png", readFileBytes(dirPath + "/wrong-size.png"));
    put("past/sprite-1144.png", readFileBytes(dirPath + "/wrong-size.png"));

    for (const Case& c : cases) {
        for (const Step& step : c.steps) {
            const Finished run = tessel(step.args);
            EXPECT_EQ(run.status, step.status) << c.name << ": " << step.args[0] << " " << step.args.back() << "\n" << run.err;
            if (run.status == 1) {
                EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.name << ": " << run.err;
            }
        }
        EXPECT_EQ(changedBytes(), 0) << c.name;
    }
}

// Palette words at file offset 0x30200 + 32 P of a copier image: colour k
// at + 2k, little-endian.
TEST_F(BatchCommands, PaletteWordsKeepBit15AndADumpGivesTheChosenPalette)
{
    const std::size_t p20 = 0x30200 + 32 * 20;
    std::vector<std::uint8_t> bytes = original;
    bytes[p20 + 2 * 3 + 1] ^= 0x80; // colour 3 of palette 20, bit 15 flipped
    ScratchFile marked;
    marked.write(bytes);
    ASSERT_EQ(tessel({"export-palette", marked.path(), "20", "@p.bin"}).status, 0);
    const auto bin = readFileBytes(dir.path() + "/p.bin");
    ASSERT_EQ(bin.size(), 32u);
    EXPECT_EQ(std::vector<std::uint8_t>(bin.begin() + 2, bin.end()),
              std::vector<std::uint8_t>(bytes.begin() + p20 + 2, bytes.begin() + p20 + 32));

    std::vector<std::uint8_t> dump(512, 0);
    dump[2 * 32 + 2] = 0x1F; // palette 2 of the dump, colour 1: red 31
    FILE* f = std::fopen((dir.path() + "/dump.bin").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(dump.data(), 1, dump.size(), f);
    std::fclose(f);
    const Finished run = tessel({"import-palette", "ROM", "20", "@dump.bin", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto after = readFileBytes(rom);
    EXPECT_EQ(after[p20 + 2], 0x1F);
    EXPECT_EQ(after[p20 + 3], 0x00);
    EXPECT_EQ(changedBytes(), (original[p20 + 2] != 0x1F) + (original[p20 + 3] != 0) +
                                  std::count_if(original.begin() + p20 + 4, original.begin() + p20 + 32,
                                                [](std::uint8_t b) { return b != 0; }));
}

TEST_F(BatchCommands, WrongTitleIsRefusedUnlessForced)
{
    ASSERT_TRUE(writeSyntheticRom(rom, {.title = "SOMETHING"}));
    original = readFileBytes(rom);
    EXPECT_EQ(tessel({"export-sprite", "ROM", "7", "@s.png"}).status, 1);
    EXPECT_EQ(tessel({"export-sprite", "--force", "ROM", "7", "@s.png"}).status, 0);
    EXPECT_EQ(tessel({"import-sprite", "--force", "ROM", "7", "@s.png"}).status, 0);
    EXPECT_EQ(changedBytes(), 0);
}

// A dump without the copier header holds the same sprites 512 bytes
// earlier: the same picture comes out, and an edit lands there.
TEST_F(BatchCommands, EditLandsInOnlyTheSpritesTilesWithOrWithoutHeader)
{
    ASSERT_EQ(tessel({"export-sprite", "ROM", "7", "@s.png"}).status, 0);
    auto picture = decodePng(readFileBytes(dir.path() + "/s.png"), {64, 80}).value;
    ASSERT_TRUE(picture.indexed);
    picture.indices[0] = picture.indices[0] == 3 ? 4 : 3;
    const auto edited = encodeIndexedPng(picture.width, picture.height, picture.indices, picture.palette);
    ScratchFile editedPng;
    editedPng.write(edited.value);

    std::vector<std::uint8_t> headerless(original.begin() + 512, original.end());
    ScratchFile bare;
    bare.write(headerless);
    ASSERT_EQ(tessel({"export-sprite", bare.path(), "7", "@bare.png"}).status, 0);
    EXPECT_EQ(readFileBytes(dir.path() + "/bare.png"), readFileBytes(dir.path() + "/s.png"));

    std::array<SpriteRecord, kSpriteCount> records;
    initRecordsFromCatalogue(records);
    const long long first = records[7].romOffset;
    for (auto [path, shift] : {std::pair{rom, 0LL}, std::pair{bare.path(), 512LL}}) {
        const auto before = readFileBytes(path);
        ASSERT_EQ(tessel({"import-sprite", path, "7", editedPng.path()}).status, 0);
        const auto after = readFileBytes(path);
        ASSERT_EQ(after.size(), before.size());
        long changed = 0;
        for (std::size_t i = 0; i < after.size(); ++i)
            if (after[i] != before[i]) {
                ++changed;
                EXPECT_GE(static_cast<long long>(i), first - shift);
                EXPECT_LT(static_cast<long long>(i), first - shift + kTileBytes);
            }
        EXPECT_GT(changed, 0);
    }
    // The import made one backup of the ROM first: the file as it was.
    const std::string folder = dir.path() + "/state/tessel/backups";
    const auto backups = backupsOf(folder, backupName(rom));
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(readFileBytes(folder + "/" + backups[0]), original);
    ASSERT_EQ(tessel({"export-sprite", "ROM", "7", "@again.png"}).status, 0);
    EXPECT_EQ(readFileBytes(dir.path() + "/again.png"), edited.value);

    ASSERT_EQ(tessel({"make-patch", "@clean.smc", "ROM", "@p.bps"}).status, 1); // no clean ROM yet
    ScratchFile clean;
    clean.write(original);
    EXPECT_EQ(tessel({"make-patch", clean.path(), "ROM", "@p.bps"}).status, 0);
    EXPECT_EQ(tessel({"make-patch", clean.path(), bare.path(), "@p.ips"}).status, 0); // compared without the header
}

} // namespace

namespace {

// A pipe or a device named as the ROM or as the file to import is refused
// at once with the window's sentence, never waited on; so is a ROM another
// editor holds.
TEST_F(BatchCommands, PipesDevicesAndHeldRomsAreRefusedWithTheWindowsSentence)
{
    ASSERT_EQ(::mkfifo((dir.path() + "/pipe").c_str(), 0600), 0);
    ASSERT_EQ(tessel({"export-sprite", "ROM", "7", "@s.png"}).status, 0);
    ASSERT_EQ(tessel({"export-palette", "ROM", "3", "@p.gpl"}).status, 0);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"export-sprite", "@pipe", "7", "@out.png"}, "pipe is not a regular file."},
        {{"export-sheet", "@pipe", "@out.png"}, "pipe is not a regular file."},
        {{"export-palette", "@pipe", "3", "@out.gpl"}, "pipe is not a regular file."},
        {{"export-sprite", "/dev/zero", "7", "@out.png"}, "zero is not a regular file."},
        {{"import-sprite", "ROM", "7", "@pipe"}, "pipe is not a regular file."},
        {{"import-sheet", "ROM", "@pipe"}, "pipe is not a regular file."},
        {{"make-patch", "@pipe", "ROM", "@out.bps"}, "pipe is not a regular file."},
    };
    for (const auto& [args, sentence] : cases) {
        const Finished run = tessel(args);
        EXPECT_EQ(run.status, 1) << args[0] << " " << args[1];
        EXPECT_NE(run.err.find(sentence), std::string::npos) << run.err;
    }
    ::unlink((dir.path() + "/pipe").c_str());
    ASSERT_EQ(::mkfifo((dir.path() + "/pipe.gpl").c_str(), 0600), 0);
    const Finished palette = tessel({"import-palette", "ROM", "3", "@pipe.gpl"});
    EXPECT_NE(palette.err.find("pipe.gpl is not a regular file."), std::string::npos) << palette.err;

    RomFile held;
    ASSERT_TRUE(held.open(rom).ok);
    const Finished run = tessel({"import-palette", "ROM", "3", "@p.gpl"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("game.smc is in use by another editor."), std::string::npos) << run.err;
    EXPECT_EQ(tessel({"export-sprite", "ROM", "7", "@s.png"}).status, 0) << "an export reads without the lock";
    EXPECT_EQ(changedBytes(), 0);
}

// A patch made from a copier pair applies to the ROM and to its dump in
// both kinds, in place when it changes only sprites and palettes; one that
// changes other bytes needs OUT; one for another ROM writes nothing.
TEST_F(BatchCommands, PatchesApplyInPlaceOrToANewFile)
{
    std::vector<std::uint8_t> edited = original;
    edited[0x110200 + 3] ^= 0x0F;         // sprite 0
    edited[0x30200 + 2 * 32 + 4] ^= 0x1F; // palette 2, colour 2
    ScratchFile editedRom, other;
    editedRom.write(edited);
    std::vector<std::uint8_t> title = edited;
    title[0x101C0 + 21] ^= 1;            // a byte of the game's header, outside the art
    other.write(title);
    for (const char* kind : {"@p.bps", "@p.ips"}) {
        ASSERT_TRUE(writeSyntheticRom(rom));
        ASSERT_EQ(tessel({"make-patch", "ROM", editedRom.path(), kind}).status, 0);
        const Finished info = tessel({"patch-info", kind});
        EXPECT_EQ(info.out, "sprite 0\npalette 2\n") << kind;
        ASSERT_EQ(tessel({"apply-patch", "ROM", kind}).status, 0) << kind;
        EXPECT_TRUE(readFileBytes(rom) == edited) << kind;
        const std::vector<std::uint8_t> dump(original.begin() + 512, original.end());
        ScratchFile bare;
        bare.write(dump);
        ASSERT_EQ(tessel({"apply-patch", bare.path(), kind}).status, 0) << kind;
        EXPECT_TRUE(readFileBytes(bare.path()) == std::vector<std::uint8_t>(edited.begin() + 512, edited.end()));
    }
    EXPECT_EQ(tessel({"diff", editedRom.path(), "ROM"}).out, "");
    EXPECT_EQ(tessel({"diff", "--json", editedRom.path(), other.path()}).out, "{\"palettes\":[],\"sprites\":[]}\n");

    ASSERT_TRUE(writeSyntheticRom(rom));
    ASSERT_EQ(tessel({"make-patch", "ROM", other.path(), "@o.bps"}).status, 0);
    const Finished inPlace = tessel({"apply-patch", "ROM", "@o.bps"});
    EXPECT_EQ(inPlace.status, 1);
    EXPECT_NE(inPlace.err.find("give OUT"), std::string::npos) << inPlace.err;
    EXPECT_EQ(tessel({"diff", "ROM", other.path()}).out, "sprite 0\npalette 2\n");
    ASSERT_EQ(tessel({"apply-patch", "ROM", "@o.bps", "@new.smc"}).status, 0);
    EXPECT_TRUE(readFileBytes(dir.path() + "/new.smc") == title);
    const Finished foreign = tessel({"apply-patch", editedRom.path(), "@o.bps", "@new2.smc"});
    EXPECT_EQ(foreign.status, 1);
    EXPECT_NE(foreign.err.find("The patch is for another ROM"), std::string::npos) << foreign.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/new2.smc"));
    EXPECT_EQ(changedBytes(), 0);
    EXPECT_TRUE(readFileBytes(editedRom.path()) == edited);
}

} // namespace

// --version needs no display; --help and the built man page both name
// every command of the table, each as a form of its own.
TEST_F(BatchCommands, VersionHelpAndManPageNameEveryCommand)
{
    const Finished version = tessel({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "tessel 2.6\n");
    EXPECT_EQ(tessel({"-V"}).out, version.out);
    const Finished help = tessel({"--help"});
    EXPECT_EQ(help.status, 0);
    const auto page = readFileBytes(TESSEL_MAN_PAGE);
    const std::string man(page.begin(), page.end());
    for (const CommandHelp& c : batchCommandHelp()) {
        std::string roffName;
        for (char ch : c.name) roffName += ch == '-' ? std::string("\\-") : std::string(1, ch);
        EXPECT_NE(help.out.find("       tessel " + std::string(c.name) + " "), std::string::npos) << c.name;
        EXPECT_NE(man.find(".TP\n\\fBtessel\\fR \\fB" + roffName + "\\fR"), std::string::npos) << c.name;
    }
    EXPECT_EQ(batchCommandHelp().size(), 12u);
}
