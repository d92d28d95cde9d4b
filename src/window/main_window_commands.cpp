// The main window's command table, and Open ROM, Close ROM and Refresh
// Sprite with what they say to the user (saving: main_window_safety.cpp).
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <filesystem>
#include <QFileInfo>
#include <QLocale>

#include <QCoreApplication>
#include "dialogs/about_dialog.h"
#include "window/client_area.h"
#include "window/interchange_commands.h"
#include "window/patch_command.h"
#include "window/main_window.h"
#include "window/names_keeper.h"
#include "window/recent_roms.h"
#include "window/recovery_keeper.h"
#include "editor/mouse.h"
#include "file/file_access.h"
#include "editor/rom_commands.h"
#include "editor/sprite_selection.h"
#include "rom/rom_session.h"
#include "selection/clipboard.h"
#include "selection/flip.h"
#include "selection/selection.h"
#include "selection/tool_choice.h"
#include "tools/colours.h"
#include "selection/tool_table.h"
#include "tools/undo.h"
#include "widgets/rom_conversation.h"
#include "widgets/local_path.h"
#include "widgets/user_prompts.h"

namespace tessel {

namespace {

const char* const kCannotOpenText = QT_TRANSLATE_NOOP("MainWindow",
    "An error occurred while attempting to open this file. Check to make sure the file is not "
    "read-only, and is not currently in use by another application.");
const char* const kNotOakenshoreText = QT_TRANSLATE_NOOP("MainWindow",
    "This doesn't look like an Oakenshore ROM. Continuing may cause damage to your ROM. Do you "
    "want to continue anyway?");

const char* const kOpenReadOnlyText = QT_TRANSLATE_NOOP("MainWindow",
    "\n\nOpen read-only? You can look at it and edit the sprites in memory, but not save into it; "
    "Save a Copy As… writes your edits to another file.");

// A file that cannot be opened for writing may still be read: probed
// through a descriptor for reading only, which takes no lock.
bool mayOpenReadOnly(FileIo& io, const std::string& path, RomProbe& probe)
{
    if (!writingRefused(path, io)) return false; // locked, missing, failing: refused only
    RomFile file(io);
    return file.openReadOnly(path).ok && probeRom(file, probe).ok;
}

bool isMenuCommand(int id)
{
    for (int c : CommandStates::allCommands)
        if (c == id) return true;
    return false;
}

QString byteCount(long long bytes)
{
    return QLocale(QLocale::English).toString(static_cast<qlonglong>(bytes));
}

// What a file without the game's title holds where the title belongs.
QString whatWasFound(const RomProbe& probe, const QString& name)
{
    auto found = [&](const RomTitle& title, long long offset) {
        return QString::fromStdString(describeTitle(title, offset, probe.fileBytes));
    };
    return QCoreApplication::translate("MainWindow", "%1 is %2 bytes long. At 0x101C0, where a copier image holds the title "
                          "\"OAKEN SHORE\", it holds %3; at 0xFFC0, where a ROM without a copier "
                          "header holds it, %4.")
        .arg(name, byteCount(probe.fileBytes), found(probe.copierTitle, kCopierTitleOffset),
             found(probe.headerlessTitle, kHeaderlessTitleOffset));
}

// The warning for an Oakenshore ROM that ends before its sprites do.
QString shortRomText(const RomProbe& probe, const QString& name)
{
    const int past = probe.spritesPastTheEnd();
    const QString lost =
        past == 1 ? QCoreApplication::translate("MainWindow", "1 sprite of 1144 lies wholly or partly past its end; "
                                                              "it shows blank (all in color 15) and cannot be saved.")
                  : QCoreApplication::translate("MainWindow", "%1 sprites of 1144 lie wholly or partly past its end; "
                                                              "they show blank (all in color 15) and cannot be saved.")
                        .arg(past);
    return QCoreApplication::translate("MainWindow", "%1 is %2 bytes long, but an Oakenshore ROM is %3 bytes (%4 "
                                                     "with a copier header): the file ends before the last "
                                                     "sprites. %5\n\nOpen it anyway?")
        .arg(name, byteCount(probe.fileBytes), byteCount(kOakenshoreImageBytes),
             byteCount(kOakenshoreImageBytes + RomFile::kCopierHeaderBytes), lost);
}

} // namespace

void MainWindow::runCommand(int id)
{
    using namespace ids;
    if (isMenuCommand(id) ? !state_.window.commands.isEnabled(id)
                          : (control(id) && !control(id)->isEnabled()))
        return;
    ToolId tool;
    if (toolOfButton(id, tool)) {
        selectTool(state_, tool);
        return;
    }
    if (id >= FirstPaletteSwatch && id < FirstPaletteSwatch + 16) {
        setIndicatorColour(state_, id - FirstPaletteSwatch, ColourSlot::Foreground);
        return;
    }
    switch (id) {
    case OpenRom: openRomCommand(); break;
    case CloseRom: closeRomCommand(); break;
    case RecoverEdits: recoverEditsCommand(); break;
    case SaveCurrentSprite:
    case SaveSpriteButton: saveCurrentSpriteCommand(); break;
    case SaveAllSprites: saveAllSpritesCommand(); break;
    case SaveCopyAs: saveCopyCommand(); break;
    case RefreshSpriteButton: refreshSpriteCommand(); break;
    case Exit: close(); break;
    case Undo: undo(state_); break;
    case Redo: redo(state_); break;
    case History: historyCommand(); break;
    case JoinedPencilStrokes: setJoinedPencilStrokes(!state_.tools.joinedPencilStrokes); break;
    case Cut: cutSelection(state_); break;
    case Copy: copySelection(state_); break;
    case Paste: pasteClipboard(state_); break;
    case Delete: deleteSelection(state_); break;
    case HFlip:
    case HFlipButton: flipHorizontal(state_); break;
    case VFlip:
    case VFlipButton: flipVertical(state_); break;
    case PaletteEditor: paletteEditorCommand(); break;
    case ViewSpriteInfo: spriteInfoCommand(); break;
    case About:
    case SysCommandAbout: showAboutBox(this); break;
    case KeyboardShortcuts: keyboardShortcutsCommand(); break;
    case PreviousSprite: previousSprite(state_); break;
    case NextSprite: nextSprite(state_); break;
    case BrowserButton: browserCommand(); break;
    case LargeView: largeViewCommand(); break;
    case Preview: previewCommand(); break;
    case NameSprite: nameSprite(state_.currentSprite); break;
    case ToggleStar: toggleStar(state_.currentSprite); break;
    case ExportNames: names_->exportCommand(); break;
    case ImportNames: names_->importCommand(); break;
    case PixelGrid:
    case TileGrid: gridCommand(id); break;
    case SpriteOverview: overviewCommand(); break;
    case GoToSprite: goToSpriteCommand(); break;
    case CompareWith: compareWithCommand(); break;
    case TakeSpriteFromOther: takeSpriteCommand(); break;
    case FillCombo: state_.tools.fillMode = static_cast<FillMode>(controls_.fillMode->currentIndex()); break;
    case TransparentCheck: setTransparentSelection(state_, controls_.transparent->isChecked()); break;
    case ApplyPatch:
        if (state_.romOpen() && state_.hasSprite())
            applyPatchCommand({this, state_, prompts_, conversation_, [this] { return backupBeforeWrite(); },
                               [this](const QString& text) { showStatus(text); }});
        break;
    default: runInterchangeCommand(this, state_, prompts_, id); break;
    }
}

void MainWindow::connectMouse()
{
    auto at = [](QPoint p) { return Point{p.x(), p.y()}; };
    connect(client_, &ClientArea::leftPressed, this, [this, at](QPoint p) {
        onLeftButtonDown(state_, at(p));
        refreshCursor();
    });
    connect(client_, &ClientArea::rightPressed, this, [this, at](QPoint p) {
        onRightButtonDown(state_, at(p));
        refreshCursor();
    });
    connect(client_, &ClientArea::leftDoubleClicked, this, [this, at](QPoint p) {
        onLeftButtonDoubleClick(state_, at(p));
        refreshCursor();
    });
    connect(client_, &ClientArea::moved, this, [this, at](QPoint p) {
        onMouseMove(state_, at(p));
        refreshCursor();
    });
    connect(client_, &ClientArea::leftReleased, this, [this] { onLeftButtonUp(state_); });
    connect(client_, &ClientArea::rightReleased, this, [this] { onRightButtonUp(state_); });
}

// --- Opening, closing, refreshing ---------------------------------------------

void MainWindow::openRomCommand()
{
    const QString path = prompts_.openRomPath(this, recentMenu_->roms().lastFolder());
    if (path.isEmpty()) return;
    openRomAt(path);
}

void MainWindow::openRecentRom(const QString& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(localPathOf(path), error)) {
        recentMenu_->remove(path);
        prompts_.error(this, tr("%1\n\nThis file no longer exists. It has been "
                                            "removed from the recent ROMs.")
                                 .arg(QDir::toNativeSeparators(path)));
        return;
    }
    openRomAt(path);
}

bool MainWindow::openRomAt(const QString& path) { return openRomFile(localPathOf(path)); }

bool MainWindow::openRomFile(const std::string& file)
{
    // Our own lock on the ROM we hold is no obstacle to opening it again.
    std::string reason;
    RomProbe probe;
    bool readOnly = false;
    RomIdentity identity = checkRomIdentity(file, state_.document.romFile.io(), &state_.document.romFile, &reason, &probe);
    if (identity == RomIdentity::CannotOpen && mayOpenReadOnly(state_.document.romFile.io(), file, probe)) {
        if (!prompts_.askYesNo(this, withReason(tr(kCannotOpenText), reason) + tr(kOpenReadOnlyText))) return false;
        readOnly = true;
        identity = probe.kind == RomKind::Unknown ? RomIdentity::TitleDiffers : RomIdentity::TitleMatches;
    }
    switch (identity) {
    case RomIdentity::CannotOpen:
        prompts_.plainError(this, withReason(tr(kCannotOpenText), reason));
        return false;
    case RomIdentity::TitleDiffers:
        if (!prompts_.askYesNo(this, tr(kNotOakenshoreText) + QStringLiteral("\n\n") +
                                         whatWasFound(probe, romDisplayName(file))))
            return false;
        break;
    case RomIdentity::TitleMatches:
        if (probe.endsBeforeSprites() &&
            !prompts_.askYesNoDefaultNo(this, shortRomText(probe, romDisplayName(file))))
            return false;
        break;
    }
    // The open ROM is replaced only now that the new one is known to be
    // wanted; its unsaved edits are the user's to keep or drop.
    if (!mayDiscardEdits()) return false;
    const IoResult opened = openRom(state_, file, probe.kind, readOnly);
    if (!opened.ok) {
        // Opening the held ROM again lets go of it first; if that open then
        // fails, no ROM is left open and the controls must say so.
        setRomControlsEnabled(state_.romOpen());
        if (!state_.romOpen()) hideBrowser();
        romChanged();
        prompts_.plainError(this, withReason(tr(kCannotOpenText), opened.error));
        return false;
    }
    setRomControlsEnabled(true);
    recentMenu_->add(QFile::decodeName(QByteArray::fromStdString(file)));
    romChanged();
    if (!stillLongEnough(probe, romDisplayName(file))) return false;
    recovery_->romOpened();
    return true;
}

bool MainWindow::stillLongEnough(const RomProbe& probe, const QString& name)
{
    // Another program may have cut the file while it was being read: the
    // sprites past its new end were read as blank.
    const Outcome<long long> size = state_.document.romFile.size();
    if (!size.ok) return true; // the next save checks the file again and says why
    RomProbe now = probe;
    now.fileBytes = size.value - (probe.hasCopierHeader() ? 0 : RomFile::kCopierHeaderBytes);
    if (now.fileBytes >= probe.fileBytes || !now.endsBeforeSprites() || prompts_.askYesNoDefaultNo(this, shortRomText(now, name)))
        return true;
    closeRom(state_);
    setRomControlsEnabled(false);
    hideBrowser();
    romChanged();
    return false;
}

void MainWindow::closeRomCommand()
{
    if (!mayDiscardEdits()) return;
    closeRom(state_);
    setRomControlsEnabled(false);
    hideBrowser();
    romChanged();
}

void MainWindow::refreshSpriteCommand()
{
    const IoResult r = reloadCurrentSprite(state_);
    if (!r.ok)
        prompts_.error(this, withReason(tr("The sprite could not be read again "
                                                       "from the ROM."),
                                        r.error));
}

} // namespace tessel
