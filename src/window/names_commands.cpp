// Tools > Name Sprite…, Toggle Star, Export Names…, Import Names…, and
// View > Preview…: the window's side of the game's sprite names.
#include <QAction>

#include "views/preview_window.h"
#include "window/main_window.h"
#include "window/names_keeper.h"
#include "window/status_line.h"
#include "widgets/user_prompts.h"

namespace tessel {

const SpriteNames& MainWindow::spriteNames() const { return names_->names(); }

void MainWindow::nameSprite(int sprite)
{
    if (!state_.romOpen() || sprite < 0 || sprite >= kSpriteCount) return;
    const std::optional<QString> name =
        prompts_.askSpriteName(this, sprite, QString::fromStdString(names_->names().name(sprite)));
    if (name) names_->setName(sprite, *name);
}

void MainWindow::toggleStar(int sprite)
{
    if (!state_.romOpen() || sprite < 0 || sprite >= kSpriteCount) return;
    names_->toggleStar(sprite);
}

void MainWindow::createPreview()
{
    // Created hidden; View > Preview… shows it.
    preview_ = new PreviewWindow(state_, this);
    connect(preview_, &PreviewWindow::settingsChanged, this, [this] { names_->setPreview(preview_->settings()); });
    connect(preview_, &PreviewWindow::hidden, names_, &NamesKeeper::flushPreview);
    connect(names_, &NamesKeeper::changed, this, [this](int sprite) {
        status_->refresh();
        emit spriteNamesChanged(sprite);
    });
}

void MainWindow::previewCommand() { preview_->showAndRaise(); }

} // namespace tessel
