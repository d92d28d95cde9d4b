#include "cli/batch_commands.h"

#include <algorithm>

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
    std::string_view name;
    std::size_t fewest, most; // operands
    unsigned options;
    CommandResult (*run)(const Args&, const Options&, Reply&);
};

constexpr Command kCommands[] = {
    {"export-sprite", 3, 3, kForce, exportSprite},
    {"import-sprite", 3, 3, kForce, importSprite},
    {"export-sheet", 2, 3, kForce | kIndexed, exportSheet},
    {"import-sheet", 2, 2, kForce, importSheet},
    {"export-palette", 3, 3, kForce, exportPalette},
    {"import-palette", 3, 4, kForce, importPalette},
    {"make-patch", 3, 3, 0, makePatch},
    {"apply-patch", 2, 3, kForce, applyPatchCommand},
    {"patch-info", 1, 2, kForce, patchInfoCommand},
    {"export-sprites", 2, 3, kForce, exportSpritesCommand},
    {"import-sprites", 2, 2, kForce, importSpritesCommand},
    {"diff", 2, 2, kForce | kJson, diffCommand},
};

const Command* commandNamed(std::string_view name)
{
    for (const Command& c : kCommands)
        if (c.name == name) return &c;
    return nullptr;
}

// One line, whatever the message holds.
std::string oneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

} // namespace

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
        std::fprintf(err, "usage: tessel [ROM]\n%s", kBatchUsage);
        return 2;
    }
    const Options options{(given & kForce) != 0, (given & kJson) != 0, (given & kIndexed) != 0};
    Reply reply;
    const CommandResult failure = command->run(operands, options, reply);
    if (failure) {
        std::fprintf(err, "tessel %s: %s\n", args[0].c_str(), oneLine(failure->why).c_str());
        if (failure->status == 2) std::fprintf(err, "usage: tessel [ROM]\n%s", kBatchUsage);
        return failure->status;
    }
    for (const std::string& line : reply.lines) std::fprintf(out, "%s\n", oneLine(line).c_str());
    if (!reply.done.empty()) std::fprintf(out, "%s\n", oneLine(reply.done).c_str());
    return 0;
}

} // namespace tessel
