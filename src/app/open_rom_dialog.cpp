#include "app/open_rom_dialog.h"

namespace tessel {

std::unique_ptr<QFileDialog> makeOpenRomDialog(QWidget* parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog everywhere: a desktop's native chooser may match the
    // pattern case-sensitively and hide "GAME.SMC".
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setNameFilter(QString::fromLatin1(kRomFilter));
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    return dialog;
}

} // namespace tessel
