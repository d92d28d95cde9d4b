#include "editor/sprite_selection.h"

#include <charconv>
#include <cstdint>

#include "selection/selection.h"
#include "tools/colours.h"
#include "tools/history.h"
#include "tools/undo.h"

namespace tessel {

void selectSprite(EditorState& state, int n)
{
    settleJournal(state); // the last edit's outcome, while its sprite is current
    state.currentSprite = n;
    resetUndo(state);
    if (state.window.spriteEditSync) {
        state.window.spriteEditSync = false;
        viewOf(state).spriteNumberChanged(n);
        state.window.spriteEditSync = true;
    }
    state.selection.selectionRect.setEmpty();
    commitSelection(state); // with the rectangle empty this only ends floating
    loadSpritePalette(state);
    repaintCanvas(state);
}

void loadSpritePalette(EditorState& state)
{
    if (!state.hasSprite()) return; // nothing to show for "no sprite"
    state.currentDisplayPalette = state.document.displayPalettes[state.current().paletteIndex & 31];
    viewOf(state).paletteSwatchesChanged();
    setIndicatorColour(state, state.tools.foregroundIndex, ColourSlot::Foreground);
    setIndicatorColour(state, state.tools.backgroundIndex, ColourSlot::Background);
}

void previousSprite(EditorState& state)
{
    int n = state.currentSprite - 1;
    selectSprite(state, n < 0 ? 0 : (n > kSpriteCount - 1 ? kSpriteCount - 1 : n));
}

void nextSprite(EditorState& state)
{
    int n = state.currentSprite + 1;
    selectSprite(state, n > kSpriteCount - 1 ? kSpriteCount - 1 : (n < 0 ? 0 : n));
}

int parseDialogInt(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    // A number that does not fit a 32-bit integer cannot be read, like any
    // other text that is no number: it gives 0, not the largest integer.
    std::int32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return 0;
    return value;
}

void spriteNumberEdited(EditorState& state, std::string_view text)
{
    if (!state.window.spriteEditSync) return;
    int n = parseDialogInt(text);
    state.window.spriteEditSync = false;
    if (n < 0) {
        selectSprite(state, 0); // the edit keeps its text
    } else {
        if (n > kSpriteCount - 1) {
            n = kSpriteCount - 1;
            state.window.spriteEditSync = true; // so that "1143" is written back
        }
        selectSprite(state, n);
    }
    state.window.spriteEditSync = true;
}

} // namespace tessel
