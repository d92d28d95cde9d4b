#include "cli/batch_commands.h"

#include <algorithm>

#include "app/command_line.h"
#include "cli/command_support.h"
#include "cli/more_commands.h"
#include "file/durable_file.h"
#include "interchange/art_exchange.h"
#include "interchange/indexed_sheet.h"
#include "interchange/palette_files.h"
#include "interchange/patch_formats.h"
#include "interchange/sprite_png.h"
#include "interchange/sprite_sheet.h"

namespace tessel {

namespace {

CommandResult exportSprite(const Args& a, const Options& o, Reply&)
{
    const auto n = numberIn(a[1], kSpriteCount);
    if (!n) return usage("N must be a sprite number from 0 to 1143, not " + a[1]);
    if (auto f = failed(exportTarget(a[2], a[0]))) return f;
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], false, o.force)) return f;
    const SpriteRecord& record = rom->spriteStore[*n];
    return failed(writeExport(a[2], a[0],
                              exportSpritePng(spriteViewOf(record), rom->displayPalettes[record.paletteIndex])));
}

// Imported sprites are saved at once; a picture that changes nothing
// writes nothing.
CommandResult savedImport(RomDocument& document, const Outcome<ArtChange>& change, Reply& reply)
{
    if (!change.ok) return Failure{1, change.error};
    if (!change.value.changedSprites.empty())
        if (auto f = saveSprites(document)) return f;
    reply.done = change.value.message;
    return std::nullopt;
}

CommandResult importSprite(const Args& a, const Options& o, Reply& reply)
{
    const auto n = numberIn(a[1], kSpriteCount);
    if (!n) return usage("N must be a sprite number from 0 to 1143, not " + a[1]);
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], true, o.force)) return f;
    return savedImport(*rom, importSpriteFile(*rom, *n, a[2]), reply);
}

// The sheet of one palette's sprites and its cell map beside it.
CommandResult exportIndexedSheetFiles(const Args& a, const Options& o)
{
    if (a.size() != 3) return usage("export-sheet --indexed takes ROM P OUT.png");
    const auto p = numberIn(a[1], kPaletteCount);
    if (!p) return usage("P must be a palette number from 0 to 31, not " + a[1]);
    const std::string map = cellMapPathOf(a[2]);
    if (auto f = failed(exportTarget(a[2], a[0]))) return f;
    if (auto f = failed(exportTarget(map, a[0]))) return f;
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], false, o.force)) return f;
    const auto sheet = exportIndexedSheet(*rom, *p);
    if (!sheet) return Failure{1, sheet.error};
    if (auto f = failed(writeWholeFile(a[2], sheet.value.png))) return f;
    return failed(writeWholeFile(map, std::span(reinterpret_cast<const std::uint8_t*>(sheet.value.cellMap.data()),
                                                sheet.value.cellMap.size())));
}

CommandResult exportSheet(const Args& a, const Options& o, Reply&)
{
    if (o.indexed) return exportIndexedSheetFiles(a, o);
    if (a.size() != 2) return usage("export-sheet takes ROM OUT.png");
    if (auto f = failed(exportTarget(a[1], a[0]))) return f;
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], false, o.force)) return f;
    return failed(
        writeExport(a[1], a[0], exportSheetPng(spriteViewsOf(rom->spriteStore), rom->displayPalettes)));
}

// A sheet with a cell map beside it is read through the map.
CommandResult importSheet(const Args& a, const Options& o, Reply& reply)
{
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], true, o.force)) return f;
    return savedImport(*rom, importSheetFile(*rom, a[1]), reply);
}

CommandResult exportPalette(const Args& a, const Options& o, Reply&)
{
    const auto p = numberIn(a[1], kPaletteCount);
    if (!p) return usage("P must be a palette number from 0 to 31, not " + a[1]);
    if (!paletteFileKind(a[2])) return usage("A palette file is chosen by its extension: .gpl, .pal, .act or .bin");
    if (auto f = failed(exportTarget(a[2], a[0]))) return f;
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], false, o.force)) return f;
    return failed(exportPalette(a[2], *rom, *p, rom->rawPalettes[*p]));
}

CommandResult importPalette(const Args& a, const Options& o, Reply& reply)
{
    const auto p = numberIn(a[1], kPaletteCount);
    if (!p) return usage("P must be a palette number from 0 to 31, not " + a[1]);
    if (!paletteFileKind(a[2])) return usage("A palette file is chosen by its extension: .gpl, .pal, .act or .bin");
    // A CGRAM dump's palette: D when given, else the ROM's palette number.
    const auto fromDump = a.size() > 3 ? numberIn(a[3], kCgramPalettes) : std::optional<int>(*p);
    if (!fromDump) return usage("D must be a palette of the CGRAM dump from 0 to 15, not " + a[3]);
    const auto colours = importPaletteFile(a[2], *fromDump);
    if (!colours.ok) return Failure{1, colours.error};
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], true, o.force)) return f;
    RomDocument& document = *rom;
    RawPalette wanted = document.rawPalettes[*p];
    if (!takePaletteColours(wanted, colours.value)) {
        reply.done = "Palette " + std::to_string(*p) + " unchanged";
        return std::nullopt;
    }
    std::string backupError;
    const SaveResult saved = writePalette(document, *p, wanted, backingUpFirst(document.romFile, backupError));
    if (auto f = saveFailure(saved, backupError)) return f;
    reply.done = "Palette " + std::to_string(*p) + ": " + std::to_string(saved.coloursWritten) + " colours written";
    return std::nullopt;
}

CommandResult makePatch(const Args& a, const Options&, Reply&)
{
    if (!patchFormat(a[2])) return usage("A patch is chosen by its extension: .bps or .ips");
    return failed(exportPatch(a[2], a[0], a[1]));
}

// The options a command takes.
enum OptionBits : unsigned { kForce = 1, kJson = 2, kIndexed = 4 };

struct Command {
    CommandHelp help;
    std::size_t fewest, most; // operands
    unsigned options;
    CommandResult (*run)(const Args&, const Options&, Reply&);
};

constexpr Command kCommands[] = {
    {{"export-sprite", "export-sprite ROM N OUT.png",
      "Writes sprite N as a palette PNG of its own size: each pixel's value is the sprite's colour index, the "
      "16 entries are the colours the window shows, and entry 0 is transparent."},
     3, 3, kForce, exportSprite},
    {{"import-sprite", "import-sprite [--force] ROM N IN.png",
      "Reads a picture of the sprite's size into sprite N and saves its changed tiles. A palette PNG whose "
      "palette names the sprite's colours is taken index for index; any other picture (grey, RGB, RGBA) is "
      "matched by colour against the sprite's palette, and a pixel that matches no colour refuses the run."},
     3, 3, kForce, importSprite},
    {{"export-sprites", "export-sprites ROM DIR [N|FIRST-LAST]",
      "Writes every sprite, or those of the range, as DIR/sprite-0018.png and so on, palette PNGs as "
      "export-sprite writes them, with one flush of the file system for all of them."},
     2, 3, kForce, exportSpritesCommand},
    {{"import-sprites", "import-sprites [--force] ROM DIR",
      "Reads every sprite-NNNN.png in DIR into its sprite and saves the changed tiles with one sync. A "
      "picture that matches no sprite, or a name past the last sprite, refuses the whole run."},
     2, 2, kForce, importSpritesCommand},
    {{"export-sheet", "export-sheet ROM OUT.png\nexport-sheet --indexed ROM P OUT.png",
      "Writes all sprites as one RGBA sheet: 32 columns of 64 x 80 cells in sprite order, each sprite in its "
      "own palette's colours, colour 0 transparent. With --indexed it writes the sprites drawn with palette P "
      "as one palette PNG in that palette's colours (cells of 64 x 80, 16 a row) and beside it OUT.json, the "
      "cell map (sprite, x, y, width, height per cell)."},
     2, 3, kForce | kIndexed, exportSheet},
    {{"import-sheet", "import-sheet [--force] ROM IN.png",
      "Reads a sheet laid out as export-sheet writes it and saves the sprites whose pixels differ. A sheet "
      "with a cell map beside it (IN.json) is read through its map."},
     2, 2, kForce, importSheet},
    {{"export-palette", "export-palette ROM P OUT.gpl|.pal|.act|.bin",
      "Writes palette P as a GIMP palette (.gpl), a JASC palette (.pal), an Adobe colour table (.act) or 32 "
      "bytes of SNES colour words (.bin), the kind chosen by the extension."},
     3, 3, kForce, exportPalette},
    {{"import-palette", "import-palette [--force] ROM P IN.gpl|.pal|.act|.bin [D]",
      "Takes colours 1 to 15 of palette P from a palette file (colour 0 stays the ROM's) and writes the "
      "palette. A .pal may also be a RIFF palette and a .bin a 512-byte CGRAM dump, of whose 16 palettes D "
      "(P when left out) is taken."},
     3, 4, kForce, importPalette},
    {{"make-patch", "make-patch CLEAN EDITED OUT.bps|.ips",
      "Writes a BPS or IPS patch that turns the ROM CLEAN into EDITED, both taken without their copier "
      "header."},
     3, 3, 0, makePatch},
    {{"apply-patch", "apply-patch [--force] ROM PATCH.bps|.ips [OUT]",
      "Applies a BPS or IPS patch made for the ROM without its copier header (as patches for the game are "
      "made); a BPS patch made with the header applies too. A BPS patch is checked against the ROM's size and "
      "CRC-32 and refused when it was made for another ROM. Without OUT the ROM is changed in place, which is "
      "allowed only when the patch changes nothing but sprites and palettes; with OUT the patched ROM is "
      "written there and the ROM is only read."},
     2, 3, kForce, applyPatchCommand},
    {{"patch-info", "patch-info PATCH.bps|.ips [ROM]",
      "Prints what a patch changes, one line each: \"sprite N\", \"palette P\", and \"bytes\" ranges for "
      "everything else. Without a ROM it reads the patch alone (IPS offsets are taken as those of a dump "
      "without the copier header); with a ROM it prints what applying the patch would change there."},
     1, 2, kForce, patchInfoCommand},
    {{"diff", "diff [--json] CLEAN EDITED",
      "Lists the sprites and palettes that differ between two ROMs, one a line (\"sprite 18\", \"palette "
      "5\"), or with --json as one JSON object ({\"palettes\":[5],\"sprites\":[18]})."},
     2, 2, kForce | kJson, diffCommand},
};

const Command* commandNamed(std::string_view name)
{
    for (const Command& c : kCommands)
        if (c.help.name == name) return &c;
    return nullptr;
}

// One line, whatever the message holds.
std::string oneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

} // namespace

const std::string_view kBatchNotes =
    "N: sprite 0..1143, P: palette 0..31, D: the palette 0..15 taken from a 512-byte\n"
    "CGRAM dump (P when left out). A ROM is a copier image (with its 512-byte header)\n"
    "or a headerless dump. --force opens a ROM whose title is not OAKEN SHORE.\n"
    "Patches are made from and applied to the ROM without its copier header, so that\n"
    "they fit the dump players have. Commands that write a ROM lock it, back it up\n"
    "first, write only the bytes that change and sync before they exit. Exit status:\n"
    "0 done, 1 failed (one line on standard error says why; nothing written), 2 usage.\n";

std::vector<CommandHelp> batchCommandHelp()
{
    std::vector<CommandHelp> help;
    for (const Command& c : kCommands) help.push_back(c.help);
    return help;
}

std::string batchUsage()
{
    std::string text;
    for (const Command& c : kCommands) {
        std::string_view forms = c.help.forms;
        while (!forms.empty()) {
            const std::size_t end = std::min(forms.find('\n'), forms.size());
            text.append("       tessel ").append(forms.substr(0, end)).append("\n");
            forms.remove_prefix(std::min(end + 1, forms.size()));
        }
    }
    return text.append(kBatchNotes);
}

bool isBatchCommand(std::string_view name) { return commandNamed(name) != nullptr; }

namespace {

// The option named `arg`, or 0 for none.
unsigned optionBit(const std::string& arg)
{
    if (arg == "--force") return kForce;
    if (arg == "--json") return kJson;
    if (arg == "--indexed") return kIndexed;
    return 0;
}

} // namespace

int runBatchCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err)
{
    const Command* command = args.empty() ? nullptr : commandNamed(args[0]);
    unsigned given = 0;
    Args operands;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (!optionsEnded && args[i] == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && args[i].size() > 1 && args[i][0] == '-') {
            const unsigned bit = optionBit(args[i]);
            if (!command || (command->options & bit) == 0) command = nullptr; // not one of its options
            given |= bit;
        } else {
            operands.push_back(args[i]);
        }
    }
    if (!command || operands.size() < command->fewest || operands.size() > command->most) {
        std::fprintf(err, "%s%s", kUsage, batchUsage().c_str());
        return 2;
    }
    const Options options{(given & kForce) != 0, (given & kJson) != 0, (given & kIndexed) != 0};
    Reply reply;
    const CommandResult failure = command->run(operands, options, reply);
    if (failure) {
        std::fprintf(err, "tessel %s: %s\n", args[0].c_str(), oneLine(failure->why).c_str());
        if (failure->status == 2) std::fprintf(err, "%s%s", kUsage, batchUsage().c_str());
        return failure->status;
    }
    for (const std::string& line : reply.lines) std::fprintf(out, "%s\n", oneLine(line).c_str());
    if (!reply.done.empty()) std::fprintf(out, "%s\n", oneLine(reply.done).c_str());
    return 0;
}

} // namespace tessel
