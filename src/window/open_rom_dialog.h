// The Open ROM file dialog: "SNES ROM files (*.smc *.sfc *.swc *.fig)", the
// names copier images and plain dumps go by, matched without regard to case
// (a ROM is as often "GAME.SMC" as "game.smc", and file names on Linux are
// case-sensitive), then "All files (*)"; existing files only.
#pragma once

#include <QFileDialog>
#include <memory>

namespace tessel {

inline constexpr char kRomFilter[] = QT_TRANSLATE_NOOP("OpenRomDialog", "SNES ROM files (*.smc *.sfc *.swc *.fig)");
inline constexpr char kAllFilesFilter[] = QT_TRANSLATE_NOOP("OpenRomDialog", "All files (*)");

std::unique_ptr<QFileDialog> makeOpenRomDialog(QWidget* parent);

// The one Open ROM dialog of `parent`, made at the first use and kept as its
// child: every later Open ROM shows it again (in the folder it was left in)
// instead of building another, and it goes with its parent.
QFileDialog* openRomDialogOf(QWidget* parent);

// Shows the dialog modally; the chosen path, or empty when cancelled. A
// kept dialog is left hidden with nothing typed and no list popped up.
QString runOpenRomDialog(QFileDialog& dialog);

} // namespace tessel
