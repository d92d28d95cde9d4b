// The editor's main window: menu bar, canvas and preview, palette swatches,
// sprite navigation, tool buttons with their options.
//
// Every menu item, button and swatch click ends in runCommand(id), the
// window's one command table. The core reaches the window through the
// EditorView interface: repaintCanvas() paints before it returns.
//
// Open ROM:  file dialog -> openRomAt(path): identity check with its two
//            messages -> unsaved-edits question -> openRom -> ROM controls.
// Close ROM, Exit, the close button and a second Open ROM ask "Save changes
// to the ROM?" only when some sprite differs from the file.
// A ROM dropped on the window and File > Open Recent take the path of the
// file dialog: openRomAt(), with the same questions.
// Read-only: a ROM that cannot be opened for writing is offered read-only:
//            openRom(readOnly) grays what writes into it; Save a Copy As
//            writes the edits elsewhere.
// Save:      save command -> RomConversation::write: the core's save, with
//            backupBeforeWrite() before its first byte and the questions
//            about the file -> report -> status bar (main_window_safety.cpp).
#pragma once

#include <QDialog>
#include <map>
#include <memory>

#include "window/main_controls.h"
#include "model/editor_state.h"
#include "widgets/rom_conversation.h"

class QAction;
class QMenuBar;

namespace tessel {

class CanvasImage;
class ClientArea;
class LargeViewWindow;
class OtherRomWindow;
class NamesKeeper;
class PreviewWindow;
class SpriteNames;
class RecentRomsMenu;
class RecoveryKeeper;
struct RomProbe;
class SpriteBrowser;
class SpriteOverviewWindow;
class StatusLine;
class UserPrompts;

class MainWindow : public QDialog, public EditorView {
    Q_OBJECT
public:
    MainWindow(EditorState& state, UserPrompts& prompts, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs a menu command or a control's click by id. Menu commands that
    // are grayed and controls that are disabled do nothing.
    void runCommand(int id);

    // Opens `path` as Open ROM does once the file dialog has returned it.
    // Returns true when the ROM is open.
    bool openRomAt(const QString& path);
    // The same for a path given as the system's bytes (the command line).
    bool openRomFile(const std::string& path);

    // The windows where the tool keys act: this one and the Large View.
    bool takesToolKeys(const QWidget* window) const;

    // Sets the pointer shape over the client area from the tool and the
    // last recorded pointer position. During a drag begun on the sprite the
    // tool's pointer stays until the release, wherever the pointer goes.
    void refreshCursor();

    // To be called before anything is written into the ROM: before the
    // first write of this window's life into a ROM, copies the whole file
    // to the backups folder (RomConversation::backupBeforeWrite). When that
    // fails the user is asked whether to write anyway; false means do not
    // write.
    bool backupBeforeWrite();
    // The recovery file of the unsaved edits (window/recovery_keeper.h).
    RecoveryKeeper& recovery() const { return *recovery_; }
    // Shows in the status bar what a command wrote.
    void showStatus(const QString& text);
    // The open ROM's file name ("game.sfc"), empty with no ROM.
    QString romName() const;
    // Colours added in the palette editor and not yet applied count as an
    // unsaved change in the caption.
    void setPaletteChangesPending(bool pending);

    // EditorView
    void repaintCanvas() override;
    void commandsChanged() override;
    void paletteSwatchesChanged() override;
    void indicatorChanged(int which, Rgb colour) override;
    void spriteNumberChanged(int spriteNumber) override;
    void toolChanged() override;
    int lineSize() override;
    int curveRadius() override;
    void hideBrowser() override;
    void editMarksChanged() override;

    ClientArea* clientArea() const { return client_; }
    QMenuBar* mainMenu() const { return menuBar_; }
    StatusLine* statusLine() const { return status_; }
    QWidget* control(int id) const { return controls_[id]; }
    QAction* action(int commandId) const;
    RecentRomsMenu* recentRomsMenu() const { return recentMenu_; }
    LargeViewWindow* largeView() const { return largeView_; }
    SpriteOverviewWindow* spriteOverview() const { return overview_; }
    // The second ROM compared with the open one (views/other_rom_window.h).
    OtherRomWindow* otherRom() const { return otherRom_; }
    PreviewWindow* preview() const { return preview_; }

    // The open game's sprite names and stars (name(n), starred(n)); none
    // while no ROM is open (window/names_keeper.h).
    const SpriteNames& spriteNames() const;
    // Tools > Name Sprite… and Toggle Star, for any sprite 0..1143 (the
    // menu passes the current one); nothing while no ROM is open.
    void nameSprite(int sprite);
    void toggleStar(int sprite);

signals:
    // A name or star changed: of `sprite`, or of any number for -1 (a
    // ROM of another game opened, the ROM closed, names imported).
    void spriteNamesChanged(int sprite);

public:
    // The current sprite as RGB, 64 x 80, as of the last paint.
    const QImage& workSurface() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void createBrowser();
    void createLargeView();
    void connectControls();
    void connectMouse();
    void setRomControlsEnabled(bool enabled);
    // "game.sfc — Tessel 2.6", "*" first while a change is unsaved.
    void updateCaption();
    // The ROM was opened or closed: caption, status bar, browser.
    void romChanged();

    void openRomCommand();
    // After loading: false, and the ROM closed, when the file turned out
    // cut short meanwhile and the user does not want it so.
    bool stillLongEnough(const RomProbe& probe, const QString& name);
    void openRecentRom(const QString& path);
    // Lists the recovery files and opens the chosen one's ROM, or the ROM
    // the user names when that one is gone (recover_edits_command.cpp).
    void recoverEditsCommand();
    void closeRomCommand();
    bool saveCurrentSpriteCommand();
    bool saveAllSpritesCommand();
    // Save a Copy As: asks for a file name and writes the ROM as Save All
    // would leave it there (rom/rom_copy.h); the open ROM stays as it is.
    void saveCopyCommand();
    // Either save through the ROM conversation; `sprite` as for noteSaved.
    bool saveCommand(const std::function<SaveResult(const SaveOptions&)>& save, const QString& failure,
                     int sprite);
    void refreshSpriteCommand();
    void paletteEditorCommand();
    void spriteInfoCommand();
    void historyCommand();
    // Help > Keyboard Shortcuts: the list of every key, kept and shown again.
    void keyboardShortcutsCommand();
    // Tools > Joined Pencil Strokes, kept in the settings file.
    void setJoinedPencilStrokes(bool on);
    void browserCommand();
    void refreshBrowser();
    void showBrowserOnCurrentPage();
    // View menu: the Large View and its grids (view_commands.cpp).
    void largeViewCommand();
    void gridCommand(int id);
    // View menu: the Sprite Overview, and the keys to the sprite number box
    // (overview_commands.cpp).
    void createSpriteOverview();
    void overviewCommand();
    void goToSpriteCommand();
    // What the overview marks and filters beyond the ROM itself: the
    // comparison's differences and the game's names and stars.
    void connectOverviewTags();
    // File > Compare With and Edit > Take Sprite from Other ROM
    // (compare_commands.cpp).
    void createOtherRomWindow();
    void compareWithCommand();
    void takeSpriteCommand();
    void createPreview();
    void previewCommand();
    // Says in the status bar what a save that succeeded wrote (of sprite
    // `sprite`, or of all edited sprites for -1).
    void noteSaved(const SaveResult& result, int sprite);
    // False when the user keeps the edits (Cancel, or a failed save).
    bool mayDiscardEdits();

    EditorState& state_;
    UserPrompts& prompts_;
    RomConversation conversation_; // the questions around every write
    QMenuBar* menuBar_;
    ClientArea* client_;
    CanvasImage* canvasImage_ = nullptr;
    StatusLine* status_;
    MainControls controls_;
    std::map<int, QAction*> actions_;
    RecentRomsMenu* recentMenu_;
    SpriteBrowser* browser_ = nullptr;
    LargeViewWindow* largeView_ = nullptr;
    SpriteOverviewWindow* overview_ = nullptr;
    OtherRomWindow* otherRom_ = nullptr;
    PreviewWindow* preview_ = nullptr;
    NamesKeeper* names_ = nullptr;
    std::unique_ptr<RecoveryKeeper> recovery_;
    bool paletteChangesPending_ = false;
    int dragCursor_ = 0; // the pointer shape when the present drag began
};

} // namespace tessel
