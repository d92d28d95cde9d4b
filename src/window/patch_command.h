// File > Apply Patch…: a BPS or IPS patch applied to the open ROM as the
// command line's apply-patch applies it (interchange/patch_edits.h).
//
// applyPatchCommand: patch file dialog -> patchOpenRom
//   -> other bytes change: said, and the patched ROM goes only to a new
//      file the user names (durably, never over the open ROM);
//   -> otherwise the changed sprites become edits (an undo snapshot of the
//      sprite shown first, all marked edited for Save All), and when
//      palettes change too the user is asked, then each is written through
//      the ROM conversation as the palette editor's Apply Changes writes it;
//   -> the status bar says what was done.
#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace tessel {

struct EditorState;
class UserPrompts;
class RomConversation;

struct PatchCommandContext {
    QWidget* window;
    EditorState& state;
    UserPrompts& prompts;
    RomConversation& conversation;
    std::function<bool()> backupBeforeWrite;
    std::function<void(const QString&)> showStatus;
};

void applyPatchCommand(const PatchCommandContext& context);

} // namespace tessel
