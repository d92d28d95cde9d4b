// Keeps the recovery file of the open ROM in step with its unsaved edits
// (see rom/recovery_file.h), and offers it back when the ROM is opened.
//
// Every 200 ms it looks at the edit counter. When it has moved and no
// mouse button is held, it copies the pixels of the edited sprites that may
// have changed since the last file (the current sprite, the one current
// then, and those whose mark moved) on this thread, and hands the writer
// thread (rom/recovery_writer.h) a piece per edited sprite; the writer puts
// the file together, seals, writes, syncs and renames it; the window never
// waits for the disk. With nothing edited the file is removed. A newer
// snapshot replaces one the writer has not started on.
//
// The program's endings call flushNow() (app/window_program.cpp,
// app/outside_endings.h); it and the destructor wait for the disk at most
// kRecoveryWaitLimit each, so that a disk that hangs cannot hang Close.
//
// At Open ROM the ROM's own file (named after its path) is offered; when
// there is none, a file of the same ROM under the path it had before it
// was moved or renamed (rom/recovery_file.h, findMovedRecovery). Restored,
// that file is taken over: the next write replaces it by the ROM's own.
//
// The checksum of the ROM's sprite area is taken when the ROM is opened and
// again whenever an edit mark is cleared (a save, Refresh Sprite), so that
// it always describes the file as last read or written.
#pragma once

#include <QObject>
#include <QTimer>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "model/editor_state.h"
#include "rom/recovery_file.h"

class QWidget;

namespace tessel {

class UserPrompts;
class RecoveryWriter;

class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    // `window` parents the restore question.
    RecoveryKeeper(EditorState& state, UserPrompts& prompts, QWidget* window);
    // Brings the file up to date and ends the writer once it is done, or
    // goes on without it after kRecoveryWaitLimit.
    ~RecoveryKeeper() override;

    // Open ROM succeeded: forget the file of edits the user has just saved
    // or given up, then ask whether to restore the new ROM's own file.
    void romOpened();
    // File > Recover Edits: the next romOpened() offers the recovery file
    // `name` (in directory()) whatever ROM it names.
    void offerNext(std::string name) { chosen_ = std::move(name); }
    // The file holding the open ROM's edits now ("" when none).
    const std::string& keptFile() const { return owned_; }
    // An edit mark changed (EditorView::editMarksChanged).
    void marksChanged();
    // The user let the unsaved edits go (Discard on leaving): the file goes
    // too, and stays gone until the next edit.
    void editsDiscarded();
    // Brings the file up to date at once, even in the middle of a drag, and
    // waits until it is on the disk, at most kRecoveryWaitLimit (the
    // program is about to end).
    void flushNow();

    // What the timer does: when anything changed, hands a snapshot to the
    // writer (or asks it to remove the file) and returns at once.
    void updateNow() { update(false); }
    // The same, then waits until the writer is idle (for tests).
    void updateAndWait();
    const std::string& directory() const { return directory_; }
    // The recovery file of the open ROM ("" when none is open).
    std::string currentFile();
    // The ROM as learnt when it was opened: canonical path and key.
    const RecoveryInfo& rom();

private:
    void tick();
    void update(bool evenWhileDragging);
    void learnRomIfChanged();
    void learnRom();
    void refreshChecksum();
    void removeOwnedFile();
    void offerRestore();
    void offerMoved();
    void offerFound(const std::string& name, const RecoveryContents& found);
    void setAside(const std::string& name, const std::string& why);
    void reportWriterError();

    EditorState& state_;
    UserPrompts& prompts_;
    QWidget* window_;
    std::string directory_;
    std::unique_ptr<RecoveryWriter> writer_;
    QTimer timer_;

    std::string learntPath_;   // the RomFile's path the info below belongs to
    RecoveryInfo info_;
    std::string fileName_;     // the open ROM's recovery file
    std::string owned_;        // the file this keeper last wrote, "" when none
    std::string chosen_;       // see offerNext()
    std::uint64_t seenGeneration_ = 0;
    bool checksumStale_ = false;
    std::array<bool, kSpriteCount> marksSeen_{};
    // The piece of each edited sprite handed to the last file, and its
    // mark count then: a sprite whose count stayed, and that was not the
    // current sprite then or now, hands the same piece on.
    std::array<RecoveryPiece, kSpriteCount> pieces_;
    std::array<std::uint32_t, kSpriteCount> pieceMarkCounts_{};
    int lastCurrent_ = -1;
    std::vector<RecoveryPiece> handed_;
    bool inTick_ = false;
    bool errorShown_ = false;
};

} // namespace tessel
