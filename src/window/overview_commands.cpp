// The View menu's Sprite Overview and Go to Sprite.
#include <QLineEdit>

#include "editor/sprite_selection.h"
#include "interchange/sprite_names.h"
#include "views/other_rom_window.h"
#include "views/sprite_overview_window.h"
#include "widgets/settings_file.h"
#include "window/main_window.h"

namespace tessel {

void MainWindow::createSpriteOverview()
{
    // Created hidden, with its settings read; View > Sprite Overview shows it.
    overview_ = new SpriteOverviewWindow(state_, settingsFilePath(), this);
    // The number box's own way to a sprite: the floating block is put down
    // on its sprite, the undo steps go, the canvas shows the new one.
    connect(overview_, &SpriteOverviewWindow::spriteChosen, this, [this](int sprite) {
        if (state_.romOpen()) selectSprite(state_, sprite);
    });
}

void MainWindow::connectOverviewTags()
{
    overview_->setTagsSource([this](int sprite) {
        SpriteTags tags;
        tags.name = spriteNames().name(sprite);
        tags.starred = spriteNames().starred(sprite);
        tags.differs = otherRom_->spriteDiffers(sprite);
        return tags;
    });
    connect(otherRom_, &OtherRomWindow::differencesChanged, overview_, &SpriteOverviewWindow::tagsChanged);
    connect(this, &MainWindow::spriteNamesChanged, overview_, &SpriteOverviewWindow::tagsChanged);
    // The overview's right-click menu names and stars any sprite, as Tools
    // does the current one.
    connect(overview_, &SpriteOverviewWindow::nameRequested, this, &MainWindow::nameSprite);
    connect(overview_, &SpriteOverviewWindow::starRequested, this, &MainWindow::toggleStar);
}

void MainWindow::overviewCommand() { overview_->showAndRaise(); }

void MainWindow::goToSpriteCommand()
{
    raise();
    activateWindow(); // without a window manager nothing else gives it the keys
    controls_.spriteNumber->setFocus(Qt::ShortcutFocusReason);
    controls_.spriteNumber->selectAll();
}

} // namespace tessel
