#include "cli/batch_commands.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <ctime>
#include <memory>
#include <optional>

#include "interchange/art_exchange.h"
#include "file/durable_file.h"
#include "file/file_access.h"
#include "file/path_names.h"
#include "interchange/palette_files.h"
#include "interchange/patch_formats.h"
#include "interchange/rom_kind.h"
#include "interchange/sprite_png.h"
#include "interchange/sprite_sheet.h"
#include "model/edit_marks.h"
#include "rom/rom_backup.h"
#include "rom/rom_session.h"

namespace tessel {

namespace {

struct Failure {
    int status = 1;
    std::string why;
};

Failure usage(std::string why) { return {2, std::move(why)}; }

// Whether the open file carries a copier header, from where its title lies;
// the file's offsets follow. Unknown when the title is at neither place.
RomKind takeCopierHeaderFromTitle(RomFile& file)
{
    file.setCopierHeader(true);
    RomProbe probe;
    if (!probeRom(file, probe).ok) return RomKind::Unknown;
    file.setCopierHeader(probe.hasCopierHeader());
    return probe.kind;
}

// The ROM's backup before this run first writes it, as the window makes it,
// given to the save as its last step before the first write. Nothing can
// be asked here: without a backup nothing is written, and `error` says why.
SaveOptions backingUpFirst(const RomFile& file, std::string& error)
{
    return {.beforeWriting = [&file, &error] {
        const IoResult r = backupRom(file.path(), file.key(), backupDirectory(), std::time(nullptr));
        error = r.error;
        return r.ok;
    }};
}

std::optional<Failure> saveFailure(const SaveResult& saved, const std::string& backupError)
{
    if (saved.ok) return std::nullopt;
    if (saved.declined) return Failure{1, "Cannot back up the ROM, so nothing was written: " + backupError};
    if (saved.file == HeldFile::Replaced) return Failure{1, "The ROM was replaced by another file while it was read"};
    if (saved.file == HeldFile::ChangedOutside) return Failure{1, "Another program changed the ROM while it was read"};
    return Failure{1, "Cannot write the ROM: " + saved.error};
}

// A document is too large for the stack: each command makes one with this.
std::unique_ptr<RomDocument> newDocument() { return std::make_unique<RomDocument>(); }

// An export reads the ROM only: no lock and no write permission needed, so
// that a build script can export from a ROM the window has open or from a
// read-only copy.
std::optional<Failure> openRomFor(RomDocument& document, const std::string& path, bool writing, bool force)
{
    const IoResult opened = writing ? document.romFile.open(path) : document.romFile.openReadOnly(path);
    if (!opened) return Failure{1, "Cannot open " + path + ": " + opened.error};
    if (takeCopierHeaderFromTitle(document.romFile) == RomKind::Unknown && !force)
        return Failure{1, path + " " + describeRomKind(RomKind::Unknown) + "; --force opens it anyway"};
    if (IoResult r = loadAllSprites(document); !r.ok) return Failure{1, "Cannot read " + path + ": " + r.error};
    return std::nullopt;
}

// Saves the marked sprites, refusing before any write when one of them
// lies past the end of the file (the rest would be half a save).
std::optional<Failure> saveSprites(RomDocument& document)
{
    const Outcome<long long> length = document.romFile.size();
    if (!length) return Failure{1, "Cannot write the ROM: " + length.error};
    if (const auto lost = editedSpritesPastTheEnd(document, length.value); !lost.empty())
        return Failure{1, "Sprite " + std::to_string(lost[0]) + " lies past the end of the file; nothing was written"};
    if (editedSpriteCount(document) == 0) return std::nullopt;
    std::string backupError;
    if (auto f = saveFailure(saveAllSprites(document, backingUpFirst(document.romFile, backupError)), backupError))
        return f;
    return std::nullopt;
}

std::optional<int> numberIn(const std::string& text, int limit)
{
    int n = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || n < 0 || n >= limit) return std::nullopt;
    return n;
}

std::optional<Failure> failed(const IoResult& r)
{
    if (r.ok) return std::nullopt;
    return Failure{1, r.error};
}

using Args = std::vector<std::string>;

std::optional<Failure> exportSprite(const Args& a, bool force, std::string&)
{
    const auto n = numberIn(a[1], kSpriteCount);
    if (!n) return usage("N must be a sprite number from 0 to 1143, not " + a[1]);
    if (auto f = failed(exportTarget(a[2], a[0]))) return f;
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], false, force)) return f;
    const SpriteRecord& record = rom->spriteStore[*n];
    return failed(writeExport(a[2], a[0],
                              exportSpritePng(spriteViewOf(record), rom->displayPalettes[record.paletteIndex])));
}

// Imported sprites are saved at once; a picture that changes nothing
// writes nothing.
std::optional<Failure> savedImport(RomDocument& document, const Outcome<ArtChange>& change, std::string& done)
{
    if (!change.ok) return Failure{1, change.error};
    if (!change.value.changedSprites.empty())
        if (auto f = saveSprites(document)) return f;
    done = change.value.message;
    return std::nullopt;
}

std::optional<Failure> importSprite(const Args& a, bool force, std::string& done)
{
    const auto n = numberIn(a[1], kSpriteCount);
    if (!n) return usage("N must be a sprite number from 0 to 1143, not " + a[1]);
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], true, force)) return f;
    return savedImport(*rom, importSpriteFile(*rom, *n, a[2]), done);
}

std::optional<Failure> exportSheet(const Args& a, bool force, std::string&)
{
    if (auto f = failed(exportTarget(a[1], a[0]))) return f;
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], false, force)) return f;
    return failed(
        writeExport(a[1], a[0], exportSheetPng(spriteViewsOf(rom->spriteStore), rom->displayPalettes)));
}

std::optional<Failure> importSheet(const Args& a, bool force, std::string& done)
{
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], true, force)) return f;
    return savedImport(*rom, importSheetFile(*rom, a[1]), done);
}

std::optional<Failure> exportPalette(const Args& a, bool force, std::string&)
{
    const auto p = numberIn(a[1], kPaletteCount);
    if (!p) return usage("P must be a palette number from 0 to 31, not " + a[1]);
    if (!paletteFileKind(a[2])) return usage("A palette file is chosen by its extension: .gpl, .pal, .act or .bin");
    if (auto f = failed(exportTarget(a[2], a[0]))) return f;
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, a[0], false, force)) return f;
    return failed(exportPalette(a[2], *rom, *p, rom->rawPalettes[*p]));
}

std::optional<Failure> importPalette(const Args& a, bool force, std::string& done)
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
    if (auto f = openRomFor(*rom, a[0], true, force)) return f;
    RomDocument& document = *rom;
    RawPalette wanted = document.rawPalettes[*p];
    if (!takePaletteColours(wanted, colours.value)) {
        done = "Palette " + std::to_string(*p) + " unchanged";
        return std::nullopt;
    }
    std::string backupError;
    const SaveResult saved = writePalette(document, *p, wanted, backingUpFirst(document.romFile, backupError));
    if (auto f = saveFailure(saved, backupError)) return f;
    done = "Palette " + std::to_string(*p) + ": " + std::to_string(saved.coloursWritten) + " colours written";
    return std::nullopt;
}

std::optional<Failure> makePatch(const Args& a, bool, std::string&)
{
    if (!patchFormat(a[2])) return usage("A patch is chosen by its extension: .bps or .ips");
    return failed(exportPatch(a[2], a[0], a[1]));
}

struct Command {
    std::string_view name;
    std::size_t arguments;
    std::optional<Failure> (*run)(const Args&, bool force, std::string& done);
    std::size_t optionalArguments = 0; // after the others
};

constexpr Command kCommands[] = {
    {"export-sprite", 3, exportSprite}, {"import-sprite", 3, importSprite},
    {"export-sheet", 2, exportSheet},   {"import-sheet", 2, importSheet},
    {"export-palette", 3, exportPalette}, {"import-palette", 3, importPalette, 1},
    {"make-patch", 3, makePatch},
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

int runBatchCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err)
{
    const Command* command = args.empty() ? nullptr : commandNamed(args[0]);
    bool force = false;
    Args operands;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (!optionsEnded && args[i] == "--force") {
            force = true;
        } else if (!optionsEnded && args[i] == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && args[i].size() > 1 && args[i][0] == '-') {
            command = nullptr; // no other options
        } else {
            operands.push_back(args[i]);
        }
    }
    if (!command || operands.size() < command->arguments ||
        operands.size() > command->arguments + command->optionalArguments) {
        std::fprintf(err, "usage: tessel [ROM]\n%s", kBatchUsage);
        return 2;
    }
    std::string done;
    const std::optional<Failure> failure = command->run(operands, force, done);
    if (failure) {
        std::fprintf(err, "tessel %s: %s\n", args[0].c_str(), oneLine(failure->why).c_str());
        if (failure->status == 2) std::fprintf(err, "usage: tessel [ROM]\n%s", kBatchUsage);
        return failure->status;
    }
    if (!done.empty()) std::fprintf(out, "%s\n", oneLine(done).c_str());
    return 0;
}

} // namespace tessel
