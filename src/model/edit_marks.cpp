#include "model/edit_marks.h"

#include <algorithm>

namespace tessel {

namespace {

bool validSprite(int sprite) { return sprite >= 0 && sprite < kSpriteCount; }

void setMark(EditorState& state, int sprite, bool edited)
{
    if (!validSprite(sprite)) return;
    ++state.document.editGeneration;
    ++state.document.spriteMarkCounts[sprite];
    if (state.document.spriteEdited[sprite] == edited) return;
    state.document.spriteEdited[sprite] = edited;
    viewOf(state).editMarksChanged();
}

} // namespace

void markSpriteEdited(EditorState& state, int sprite) { setMark(state, sprite, true); }

void clearSpriteEdited(EditorState& state, int sprite) { setMark(state, sprite, false); }

void clearAllEditMarks(EditorState& state)
{
    ++state.document.editGeneration;
    if (editedSpriteCount(state) == 0) return;
    for (int i = 0; i < kSpriteCount; ++i) state.document.spriteMarkCounts[i] += state.document.spriteEdited[i];
    state.document.spriteEdited.fill(false);
    viewOf(state).editMarksChanged();
}

bool isSpriteEdited(const EditorState& state, int sprite)
{
    return validSprite(sprite) && state.document.spriteEdited[sprite];
}

int editedSpriteCount(const EditorState& state)
{
    return static_cast<int>(std::count(state.document.spriteEdited.begin(), state.document.spriteEdited.end(), true));
}

void noteEditEnded(EditorState& state) { ++state.document.editGeneration; }

} // namespace tessel
