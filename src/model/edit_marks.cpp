#include "model/edit_marks.h"

#include <algorithm>

namespace tessel {

namespace {

bool validSprite(int sprite) { return sprite >= 0 && sprite < kSpriteCount; }

void setMark(RomDocument& document, int sprite, bool edited, bool pending)
{
    if (!validSprite(sprite)) return;
    ++document.editGeneration;
    ++document.spriteMarkCounts[sprite];
    document.spritePending[sprite] = pending;
    if (document.spriteEdited[sprite] == edited) return;
    document.spriteEdited[sprite] = edited;
    document.notify(&DocumentObserver::editMarksChanged);
}

} // namespace

void markSpriteEdited(RomDocument& document, int sprite) { setMark(document, sprite, true, false); }

void markSpritePending(RomDocument& document, int sprite) { setMark(document, sprite, true, true); }

void clearSpriteEdited(RomDocument& document, int sprite) { setMark(document, sprite, false, false); }

void clearAllEditMarks(RomDocument& document)
{
    ++document.editGeneration;
    if (editedSpriteCount(document) == 0) return;
    for (int i = 0; i < kSpriteCount; ++i)
        document.spriteMarkCounts[i] += document.spriteEdited[i];
    document.spriteEdited.fill(false);
    document.spritePending.fill(false);
    document.notify(&DocumentObserver::editMarksChanged);
}

bool isSpriteEdited(const RomDocument& document, int sprite)
{
    return validSprite(sprite) && document.spriteEdited[sprite];
}

bool isSpritePending(const RomDocument& document, int sprite)
{
    return validSprite(sprite) && document.spritePending[sprite];
}

int editedSpriteCount(const RomDocument& document)
{
    return static_cast<int>(
        std::count(document.spriteEdited.begin(), document.spriteEdited.end(), true));
}

void noteEditEnded(RomDocument& document) { ++document.editGeneration; }

} // namespace tessel
