// The main window's commands that open the palette editor, the sprite
// information dialog and the sprite browser.
#include "window/main_window.h"

#include <QAction>
#include <QPushButton>

#include "window/status_line.h"
#include "browser/sprite_browser.h"
#include "dialogs/history_dialog.h"
#include "dialogs/keyboard_shortcuts_dialog.h"
#include "dialogs/palette_editor_dialog.h"
#include "dialogs/sprite_info_dialog.h"
#include "editor/sprite_selection.h"
#include "window/editor_settings.h"
#include "widgets/user_prompts.h"

namespace tessel {

void MainWindow::createBrowser()
{
    // Created hidden; its button places and shows it.
    browser_ = new SpriteBrowser(state_, this);
    connect(browser_, &SpriteBrowser::spriteChosen, this,
            [this](int sprite) { selectSprite(state_, sprite); });
}

void MainWindow::hideBrowser()
{
    if (browser_ && browser_->isVisible()) browser_->hide();
}

void MainWindow::browserCommand() { browser_->placeUnder(controls_.browserButton); }

void MainWindow::showBrowserOnCurrentPage()
{
    if (browser_ && browser_->isVisible()) browser_->showCurrentSpritePage();
}

void MainWindow::refreshBrowser()
{
    if (browser_ && browser_->isVisible()) browser_->refresh();
}

void MainWindow::paletteEditorCommand()
{
    {
        PaletteEditorDialog dialog(state_, prompts_, this);
        dialog.setBeforeWrite([this] { return backupBeforeWrite(); });
        connect(&dialog, &PaletteEditorDialog::unappliedChangesChanged, this,
                &MainWindow::setPaletteChangesPending);
        connect(&dialog, &PaletteEditorDialog::paletteWritten, this,
                [this](int palette) { showStatus(paletteWrittenText(palette)); });
        dialog.exec();
    }
    setPaletteChangesPending(false);
    // Selecting the sprite again shows any palette the editor applied on
    // the canvas, the preview and the swatches.
    if (state_.hasSprite()) selectSprite(state_, state_.currentSprite);
}

void MainWindow::spriteInfoCommand()
{
    SpriteInfoDialog dialog(state_, this, &spriteNames());
    dialog.exec();
}

void MainWindow::historyCommand()
{
    HistoryDialog dialog(state_, this);
    dialog.exec();
}

void MainWindow::keyboardShortcutsCommand()
{
    // Not modal: it may stay open beside the window while the keys are tried.
    auto* dialog = findChild<KeyboardShortcutsDialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog)
        dialog = new KeyboardShortcutsDialog(
            [this](int commandId) {
                const QAction* item = action(commandId);
                return item ? item->text() : QString();
            },
            this);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void MainWindow::setJoinedPencilStrokes(bool on)
{
    state_.tools.joinedPencilStrokes = on;
    if (QAction* item = action(ids::JoinedPencilStrokes)) item->setChecked(on);
    writeBoolSetting(kJoinedPencilStrokesKey, on);
}

} // namespace tessel
