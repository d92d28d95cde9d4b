// The ROM document: what belongs to the open ROM, apart from the editor
// that works on it. The command line and the recovery file use a document
// alone; the editor (model/editor_state.h) holds one.
//
// rom/ reads the document from the file and writes it back
// (rom/rom_session.h); model/edit_marks.h keeps its edit marks. Neither
// calls the window: each change is announced to the document's observers,
//   loadAllSprites            -> spritesLoaded()
//   loadSprite                -> spriteReloaded(sprite), editMarksChanged()
//   loadPalette               -> paletteChanged(palette)
//   a mark set or cleared     -> editMarksChanged()  (only when it flips)
// and whoever must repaint observes (the editor hands editMarksChanged on
// to its view) or repaints as the caller.
#pragma once

#include <array>
#include <cstdint>

#include "file/rom_file.h"
#include "model/sprite_store.h"

namespace tessel {

// What a document tells its observers; every event does nothing unless
// overridden. Called synchronously, on the thread that changed the document.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    // Every sprite record, sprite and palette was read from the file.
    virtual void spritesLoaded() {}
    // One sprite's pixels were read from the file again.
    virtual void spriteReloaded(int /*sprite*/) {}
    // One palette was read from the file again.
    virtual void paletteChanged(int /*palette*/) {}
    // Some sprite became edited, or saved (see model/edit_marks.h).
    virtual void editMarksChanged() {}
};

struct RomDocument {
    // The open ROM, and its sprite area as we last read or wrote it: saving
    // compares with this copy, never with what the system's cache holds.
    RomFile romFile;
    SpriteAreaBytes diskSpriteArea{};
    // The decoded sprites and palettes.
    std::array<SpriteRecord, kSpriteCount> spriteStore{};
    std::array<RawPalette, kPaletteCount> rawPalettes{};
    std::array<DisplayPalette, kPaletteCount> displayPalettes{};
    // Sprites edited since loaded or saved (see model/edit_marks.h), and a
    // counter that moves with every edit.
    std::array<bool, kSpriteCount> spriteEdited{};
    // Of those, the ones an import, a patch or a restore wrote.
    std::array<bool, kSpriteCount> spritePending{};
    std::uint64_t editGeneration = 0;
    // Per sprite, how often its mark was set or cleared: a sprite that is
    // not the current one changes only through a marked edit.
    std::array<std::uint32_t, kSpriteCount> spriteMarkCounts{};

    bool romOpen() const { return romFile.isOpen(); }

    // A few fixed places, so that announcing a change allocates nothing.
    // An observer must be removed before it is destroyed; adding one that
    // is already there, or more than there are places, is a fault (false).
    bool addObserver(DocumentObserver* observer);
    void removeObserver(DocumentObserver* observer);

    // Calls `event` on every observer.
    template <typename... Params, typename... Args>
    void notify(void (DocumentObserver::*event)(Params...), Args... args) const
    {
        for (DocumentObserver* o : observers_)
            if (o) (o->*event)(args...);
    }

private:
    std::array<DocumentObserver*, 4> observers_{};
};

} // namespace tessel
