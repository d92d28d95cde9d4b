// The main window's commands that open the palette editor, the sprite
// information dialog and the sprite browser. The three windows are not part
// of the program yet: until they are, these commands do nothing.
#include "app/main_window.h"

namespace tessel {

void MainWindow::createBrowser() {}
void MainWindow::hideBrowser() {}
void MainWindow::browserCommand() {}
void MainWindow::paletteEditorCommand() {}
void MainWindow::spriteInfoCommand() {}

} // namespace tessel
