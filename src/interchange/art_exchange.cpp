#include "interchange/art_exchange.h"

#include <array>
#include <cstdio>

#include "interchange/clipboard_picture.h"
#include "interchange/indexed_sheet.h"
#include "file/durable_file.h"
#include "file/file_access.h"
#include "file/path_names.h"
#include "interchange/palette_files.h"
#include "interchange/patch_formats.h"
#include "interchange/sprite_png.h"
#include "interchange/sprite_sheet.h"
#include "model/edit_marks.h"
#include "rom/rom_session.h"
#include "selection/selection.h"
#include "tools/history.h"
#include "tools/undo.h"

namespace tessel {

namespace {

// A floating block is put down first, so that an import replaces what the
// user sees.
void settleSelection(EditorState& state)
{
    if (state.selection.selectionFloating) commitSelection(state);
    state.selection.selectionRect.setEmpty();
}

// `beforeChange` runs just before a sprite takes its new pixels (the
// window keeps the shown sprite's pixels on the undo stack there).
void takePixels(RomDocument& document, int sprite, const PixelBuffer& pixels, const BeforeChange& beforeChange)
{
    if (beforeChange) beforeChange(sprite);
    // Pixels the import left as they were are no import to save.
    const bool changed = document.spriteStore[sprite].pixels != pixels;
    document.spriteStore[sprite].pixels = pixels;
    if (changed) markSpritePending(document, sprite);
}

// The sprite shown keeps its pixels before the change on the undo stack;
// every sprite keeps them in the history.
BeforeChange undoSnapshotOfShown(EditorState& state)
{
    return [&state](int sprite) {
        if (sprite == state.currentSprite) pushUndoSnapshot(state, EditCause::Import);
        else noteJournalBaseline(state, sprite);
    };
}

// The imported pixels join the history: the shown sprite's as the edit its
// snapshot began, the others' at once.
void journalImport(EditorState& state, const Outcome<ArtChange>& result)
{
    settleJournal(state);
    if (!result.ok) return;
    for (int sprite : result.value.changedSprites)
        if (sprite != state.currentSprite) recordJournalState(state, sprite, EditCause::Import);
}

} // namespace

Outcome<ArtChange> importSpriteFile(RomDocument& document, int sprite, const std::string& path,
                                    const BeforeChange& beforeChange)
{
    using Result = Outcome<ArtChange>;
    SpriteRecord& record = document.spriteStore[sprite];
    const auto pixels = importSpritePngFile(path, spriteViewOf(record), document.rawPalettes[record.paletteIndex]);
    if (!pixels.ok) return Result::failure(pixels.error);
    const bool changed = pixels.value != record.pixels;
    takePixels(document, sprite, pixels.value, beforeChange);
    const std::string name = "Sprite " + std::to_string(sprite);
    if (!changed) return Result::success({{}, name + " unchanged"});
    return Result::success({{sprite}, name + " imported"});
}

Outcome<ArtChange> importSpriteFile(EditorState& state, int sprite, const std::string& path)
{
    settleSelection(state);
    auto result = importSpriteFile(state.document, sprite, path, undoSnapshotOfShown(state));
    journalImport(state, result);
    return result;
}

Outcome<ArtChange> importSheetFile(RomDocument& document, const std::string& path, const BeforeChange& beforeChange)
{
    using Result = Outcome<ArtChange>;
    const std::string map = cellMapPathOf(path);
    if (FileStatus status; systemFileIo().pathStatus(map.c_str(), status) == 0)
        return importIndexedSheetFile(document, path, map, beforeChange);
    auto sheet = importSheetPngFile(path, spriteViewsOf(document.spriteStore), document.rawPalettes);
    if (!sheet.ok) return Result::failure(sheet.error);
    for (std::size_t i = 0; i < sheet.value.changedSprites.size(); ++i)
        takePixels(document, sheet.value.changedSprites[i], sheet.value.changedPixels[i], beforeChange);
    return Result::success({std::move(sheet.value.changedSprites), std::move(sheet.value.message)});
}

Outcome<ArtChange> importSheetFile(EditorState& state, const std::string& path)
{
    settleSelection(state);
    auto result = importSheetFile(state.document, path, undoSnapshotOfShown(state));
    journalImport(state, result);
    return result;
}

IoResult pastePicture(EditorState& state, std::span<const std::uint8_t> png)
{
    const auto block = pictureAsBlock(png, state.document.rawPalettes[state.current().paletteIndex]);
    if (!block.ok) return IoResult::failure(block.error);
    pasteBlock(state, block.value);
    return IoResult::success();
}

bool takePaletteColours(RawPalette& colours, const RawPalette& fromFile)
{
    bool changed = false;
    for (int k = 1; k < 16; ++k) {
        changed |= colours.red[k] != fromFile.red[k] || colours.green[k] != fromFile.green[k] ||
                   colours.blue[k] != fromFile.blue[k];
        colours.red[k] = fromFile.red[k];
        colours.green[k] = fromFile.green[k];
        colours.blue[k] = fromFile.blue[k];
    }
    return changed;
}

IoResult exportTarget(const std::string& out, const std::string& romPath)
{
    if (namesSameFile(out, romPath)) return IoResult::failure("Cannot write over the open ROM: " + out);
    return IoResult::success();
}

IoResult writeExport(const std::string& out, const std::string& romPath,
                     const Outcome<std::vector<std::uint8_t>>& bytes)
{
    if (!bytes.ok) return IoResult::failure(bytes.error);
    if (IoResult r = exportTarget(out, romPath); !r.ok) return r;
    return writeWholeFile(out, bytes.value);
}

std::string romStem(const std::string& romPath)
{
    std::string name = baseName(romPath);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

IoResult exportPalette(const std::string& out, const RomDocument& document, int palette,
                       const RawPalette& colours)
{
    const std::string& romPath = document.romFile.path();
    if (IoResult r = exportTarget(out, romPath); !r.ok) return r;
    if (palette < 0 || palette >= kPaletteCount) return IoResult::failure("No such palette");
    std::array<std::uint8_t, kPaletteBytes> words{};
    if (IoResult r = document.romFile.read(kPaletteBlockOffset + kPaletteBytes * palette, words); !r.ok)
        return r;
    std::uint16_t highBits = 0;
    for (int k = 1; k < kColoursPerPalette; ++k)
        if (words[2 * k + 1] & 0x80) highBits = static_cast<std::uint16_t>(highBits | (1u << k));
    char number[8];
    std::snprintf(number, sizeof number, "%02d", palette);
    return exportPaletteFile(out, colours, romStem(romPath) + " palette " + number, highBits);
}

IoResult exportPatch(const std::string& out, const std::string& cleanPath, const std::string& romPath)
{
    if (IoResult r = exportTarget(out, romPath); !r.ok) return r;
    return exportRomPatch(out, cleanPath, romPath);
}

} // namespace tessel
