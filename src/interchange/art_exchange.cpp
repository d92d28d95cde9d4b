#include "interchange/art_exchange.h"

#include "interchange/clipboard_picture.h"
#include "file/durable_file.h"
#include "file/file_access.h"
#include "file/path_names.h"
#include "interchange/palette_files.h"
#include "interchange/patch_formats.h"
#include "interchange/sprite_png.h"
#include "interchange/sprite_sheet.h"
#include "model/edit_marks.h"
#include "selection/selection.h"
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

// The sprite shown keeps its pixels before the change on the undo stack.
void takePixels(EditorState& state, int sprite, const PixelBuffer& pixels)
{
    if (sprite == state.currentSprite) pushUndoSnapshot(state);
    state.document.spriteStore[sprite].pixels = pixels;
    markSpriteEdited(state, sprite);
}

IoResult fromText(const std::string& why)
{
    return why.empty() ? IoResult::success() : IoResult::failure(why);
}

} // namespace

Outcome<ArtChange> importSpriteFile(EditorState& state, int sprite, const std::string& path)
{
    using Result = Outcome<ArtChange>;
    settleSelection(state);
    SpriteRecord& record = state.document.spriteStore[sprite];
    const auto pixels = importSpritePngFile(path, spriteViewOf(record), state.document.rawPalettes[record.paletteIndex]);
    if (!pixels.ok) return Result::failure(pixels.error);
    const bool changed = pixels.value != record.pixels;
    takePixels(state, sprite, pixels.value);
    const std::string name = "Sprite " + std::to_string(sprite);
    if (!changed) return Result::success({{}, name + " unchanged"});
    return Result::success({{sprite}, name + " imported"});
}

Outcome<ArtChange> importSheetFile(EditorState& state, const std::string& path)
{
    using Result = Outcome<ArtChange>;
    settleSelection(state);
    auto sheet = importSheetPngFile(path, spriteViewsOf(state.document.spriteStore), state.document.rawPalettes);
    if (!sheet.ok) return Result::failure(sheet.error);
    for (std::size_t i = 0; i < sheet.value.changedSprites.size(); ++i)
        takePixels(state, sheet.value.changedSprites[i], sheet.value.changedPixels[i]);
    return Result::success({std::move(sheet.value.changedSprites), std::move(sheet.value.message)});
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

IoResult exportPalette(const std::string& out, const std::string& romPath, const RawPalette& colours)
{
    if (IoResult r = exportTarget(out, romPath); !r.ok) return r;
    return fromText(exportPaletteFile(out, colours));
}

IoResult exportPatch(const std::string& out, const std::string& cleanPath, const std::string& romPath)
{
    if (IoResult r = exportTarget(out, romPath); !r.ok) return r;
    return fromText(exportRomPatch(out, cleanPath, romPath));
}

} // namespace tessel
