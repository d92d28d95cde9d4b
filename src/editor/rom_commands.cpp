#include "editor/rom_commands.h"

#include "editor/sprite_selection.h"
#include "model/command_ids.h"
#include "model/edit_marks.h"
#include "rom/rom_session.h"
#include "tools/history.h"
#include "tools/undo.h"

namespace tessel {

namespace {

// In the order in which Open ROM enables them; Undo and Paste wait for
// something to undo or paste.
constexpr int kEnabledByOpen[] = {ids::Cut,    ids::Copy,  ids::CloseRom,      ids::SaveCurrentSprite,
                                  ids::SaveAllSprites, ids::Delete, ids::HFlip, ids::VFlip,
                                  ids::PaletteEditor,  ids::ViewSpriteInfo,
                                  ids::ExportSpritePng, ids::ImportSpritePng, ids::ExportSheet,
                                  ids::ImportSheet,    ids::CreatePatch, ids::CopyAsImage, ids::PasteImage,
                                  ids::History,         ids::LargeView,   ids::PixelGrid, ids::TileGrid,
                                  ids::ApplyPatch, ids::SaveCopyAs,
                                  ids::SpriteOverview, ids::GoToSprite,
                                  ids::CompareWith,
                                  ids::NameSprite, ids::ToggleStar, ids::ExportNames, ids::ImportNames, ids::Preview};

// In the order in which Close ROM grays them.
constexpr int kGrayedByClose[] = {ids::Undo,   ids::Cut,           ids::Copy,
                                  ids::Paste,  ids::Delete,        ids::HFlip,
                                  ids::VFlip,  ids::CloseRom,      ids::SaveCurrentSprite,
                                  ids::SaveAllSprites, ids::PaletteEditor, ids::ViewSpriteInfo,
                                  ids::ExportSpritePng, ids::ImportSpritePng, ids::ExportSheet,
                                  ids::ImportSheet, ids::CreatePatch, ids::CopyAsImage, ids::PasteImage,
                                  ids::Redo, ids::History, ids::LargeView, ids::PixelGrid, ids::TileGrid,
                                  ids::ApplyPatch, ids::SaveCopyAs,
                                  ids::SpriteOverview, ids::GoToSprite,
                                  ids::CompareWith, ids::TakeSpriteFromOther,
                                  ids::NameSprite, ids::ToggleStar, ids::ExportNames, ids::ImportNames, ids::Preview};

} // namespace

IoResult openRom(EditorState& state, const std::string& path, std::optional<RomKind> kind, bool readOnly)
{
    const bool wasOpen = state.romOpen();
    RomFile fresh(state.document.romFile.io());
    // Re-opening the ROM we hold closes our old descriptor on it, as our own
    // lock would refuse the new one; any other file leaves it alone.
    IoResult result = readOnly ? fresh.openReadOnly(path) : fresh.open(path, &state.document.romFile);
    // A dump without the copier header is read and written 512 bytes
    // earlier throughout; which kind it is, its title tells.
    RomProbe probe;
    if (result.ok && kind) probe.kind = *kind;
    else if (result.ok) result = probeRom(fresh, probe);
    if (result.ok) fresh.setCopierHeader(probe.hasCopierHeader());
    if (result.ok) result = loadAllSprites(state.document, fresh);
    if (!result.ok) {
        // The store was not touched. If the old file had to be let go, no
        // ROM is open any more and the window must say so.
        if (wasOpen && !state.romOpen()) closeRom(state);
        return result;
    }
    state.document.romFile.swap(fresh); // `fresh` now holds the old file and closes it
    fresh.close();
    clearAllEditMarks(state.document);
    state.journal.clear(); // the history belongs to the sprites it was made of
    selectSprite(state, 0);
    for (int id : kEnabledByOpen) setCommandEnabled(state, id, !(readOnly && writesIntoRom(id)));
    return result;
}

void closeRom(EditorState& state)
{
    state.document.romFile.close();
    clearAllEditMarks(state.document);
    state.journal.clear();
    for (int id : kGrayedByClose) setCommandEnabled(state, id, false);
    selectSprite(state, -1);
}

SaveResult saveCurrentSprite(EditorState& state, const SaveOptions& options)
{
    return saveSprite(state.document, state.hasSprite() ? state.currentSprite : -1, options);
}

IoResult reloadCurrentSprite(EditorState& state)
{
    if (!state.romOpen() || !state.hasSprite()) return IoResult::failure("No ROM is open");
    settleJournal(state);
    noteJournalBaseline(state, state.currentSprite);
    if (IoResult r = loadSprite(state.document, state.currentSprite); !r.ok) return r;
    // Redo would put back pixels over the ones just read; Undo stays.
    dropRedo(state);
    recordJournalState(state, state.currentSprite, EditCause::Refresh);
    IoResult r = loadPalette(state.document, state.current().paletteIndex);
    repaintCanvas(state); // the sprite was read again even if its palette was not
    return r;
}

} // namespace tessel
