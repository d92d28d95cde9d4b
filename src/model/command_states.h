// Which menu commands are enabled. The main window mirrors this table in its
// menu; keyboard shortcuts run a command only while it is enabled here.
#pragma once

#include <array>
#include <utility>

#include "model/command_ids.h"

namespace tessel {

class CommandStates {
public:
    CommandStates();

    bool isEnabled(int commandId) const; // unknown ids are never enabled
    // Returns true when the state actually changed.
    bool setEnabled(int commandId, bool enabled);

    static constexpr std::array allCommands{
        ids::OpenRom, ids::CloseRom, ids::SaveCurrentSprite, ids::SaveAllSprites, ids::Exit,
        ids::Undo,    ids::Cut,      ids::Copy,              ids::Paste,          ids::Delete,
        ids::HFlip,   ids::VFlip,    ids::PaletteEditor,     ids::ViewSpriteInfo, ids::About,
        ids::ExportSpritePng, ids::ImportSpritePng, ids::ExportSheet, ids::ImportSheet,
        ids::CreatePatch,     ids::CopyAsImage,     ids::PasteImage,
        ids::RecoverEdits, ids::Redo, ids::History, ids::JoinedPencilStrokes,
        ids::LargeView,    ids::PixelGrid, ids::TileGrid,
        ids::ApplyPatch, ids::SaveCopyAs,
        ids::SpriteOverview, ids::GoToSprite,
        ids::CompareWith, ids::TakeSpriteFromOther,
        ids::NameSprite, ids::ToggleStar, ids::ExportNames, ids::ImportNames, ids::Preview,
        ids::KeyboardShortcuts};

private:
    std::array<bool, allCommands.size()> enabled_{};
};

// The menu commands and controls that write into the open ROM: grayed
// while it is open read-only (every other command works on the copy in
// memory, and Save a Copy As writes that elsewhere).
bool writesIntoRom(int commandId);

} // namespace tessel
