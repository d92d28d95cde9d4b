#include "tools/history.h"

#include <algorithm>

namespace tessel {

namespace {

bool validSprite(int sprite) { return sprite >= 0 && sprite < kSpriteCount; }

void record(EditorState& state, int sprite, EditCause cause, JournalClock::time_point time)
{
    if (!validSprite(sprite)) return;
    const SpriteRecord& s = state.document.spriteStore[sprite];
    state.journal.record(sprite, cause, time, s.pixels.data(), kBufferWidth,
                         std::clamp(s.widthPixels(), 0, kBufferWidth),
                         std::clamp(s.heightPixels(), 0, kBufferHeight));
}

} // namespace

EditCause causeOfTool(ToolId tool)
{
    switch (tool) {
    case ToolId::Pencil: return EditCause::Pencil;
    case ToolId::FloodFill: return EditCause::Fill;
    case ToolId::Line: return EditCause::Line;
    case ToolId::Rectangle: return EditCause::Rectangle;
    case ToolId::Ellipse: return EditCause::Ellipse;
    case ToolId::RoundedRectangle: return EditCause::RoundedRectangle;
    case ToolId::Select: return EditCause::Selection;
    case ToolId::ColourPicker: return EditCause::ColourPicker;
    }
    return EditCause::Pencil;
}

void beginJournalEdit(EditorState& state, EditCause cause)
{
    settleJournal(state);
    if (!state.hasSprite()) return;
    noteJournalBaseline(state, state.currentSprite);
    state.journal.begin(state.currentSprite, cause, JournalClock::now());
}

void settleJournal(EditorState& state)
{
    if (auto pending = state.journal.takePending()) record(state, pending->sprite, pending->cause, pending->time);
}

void recordJournalState(EditorState& state, int sprite, EditCause cause)
{
    record(state, sprite, cause, JournalClock::now());
}

void noteJournalBaseline(EditorState& state, int sprite)
{
    if (validSprite(sprite) && !state.journal.hasStates(sprite))
        record(state, sprite, EditCause::Loaded, JournalClock::now());
}

} // namespace tessel
