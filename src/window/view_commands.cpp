// The View menu: the Large View window and its two grids.
#include <QAction>

#include "views/large_view_window.h"
#include "window/main_window.h"
#include "window/tool_cursors.h"
#include "model/command_ids.h"
#include "widgets/settings_file.h"

namespace tessel {

void MainWindow::createLargeView()
{
    // Created hidden, with its settings read; View > Large View shows it.
    largeView_ = new LargeViewWindow(state_, &toolCursor, settingsFilePath(), this);
    for (int id : {ids::PixelGrid, ids::TileGrid}) action(id)->setCheckable(true);
    action(ids::PixelGrid)->setChecked(largeView_->pixelGrid());
    action(ids::TileGrid)->setChecked(largeView_->tileGrid());
}

void MainWindow::largeViewCommand() { largeView_->showAndRaise(); }

void MainWindow::gridCommand(int id)
{
    // The menu's check mark shows what the view shows, whichever way the
    // command came (the menu has toggled it already, a call has not).
    if (id == ids::PixelGrid) largeView_->setPixelGrid(!largeView_->pixelGrid());
    else largeView_->setTileGrid(!largeView_->tileGrid());
    action(ids::PixelGrid)->setChecked(largeView_->pixelGrid());
    action(ids::TileGrid)->setChecked(largeView_->tileGrid());
}

} // namespace tessel
