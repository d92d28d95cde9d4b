#include "editor/other_rom.h"

#include <algorithm>

#include "file/path_names.h"
#include "model/command_ids.h"
#include "model/edit_marks.h"
#include "selection/selection.h"
#include "tools/history.h"
#include "tools/undo.h"

namespace tessel {

IoResult compareWithRom(EditorState& state, RomComparison& comparison, const std::string& path, FileIo& io)
{
    IoResult r = comparison.open(path, state.document, io);
    setCommandEnabled(state, ids::TakeSpriteFromOther, comparison.isOpen() && state.romOpen());
    return r;
}

void closeComparison(EditorState& state, RomComparison& comparison)
{
    comparison.close();
    setCommandEnabled(state, ids::TakeSpriteFromOther, false);
}

IoResult takeSpriteFromOther(EditorState& state, RomComparison& comparison)
{
    if (!state.romOpen() || !state.hasSprite() || !comparison.isOpen())
        return IoResult::failure("No other ROM is open to take the sprite from.");
    const int sprite = state.currentSprite;
    // The block the user sees floating is part of the sprite being replaced.
    if (state.selection.selectionFloating) commitSelection(state);
    state.selection.selectionRect.setEmpty();
    const SpriteRecord& theirs = comparison.other().spriteStore[sprite];
    if (!spritePixelsDiffer(state.current(), theirs)) {
        repaintCanvas(state);
        return IoResult::failure("Sprite " + std::to_string(sprite) + " is the same in " +
                                 baseName(comparison.path()) + ".");
    }
    pushUndoSnapshot(state, EditCause::OtherRom);
    // Beyond W x H the store is left alone, as every edit leaves it.
    PixelBuffer& pixels = state.current().pixels;
    for (int y = 0; y < theirs.heightPixels() && y < kBufferHeight; ++y)
        std::copy_n(theirs.pixels.begin() + y * kBufferWidth, std::min(theirs.widthPixels(), kBufferWidth),
                    pixels.begin() + y * kBufferWidth);
    settleJournal(state);
    comparison.updateSprite(state.document, sprite);
    repaintCanvas(state);
    noteEditEnded(state.document);
    return IoResult::success();
}

} // namespace tessel
