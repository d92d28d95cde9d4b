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
    dialog->setNameFilters({QString::fromLatin1(kRomFilter), QString::fromLatin1(kAllFilesFilter)});
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    return dialog;
}

QFileDialog* openRomDialogOf(QWidget* parent)
{
    static const QString kName = QStringLiteral("openRomDialog");
    if (parent) {
        if (auto* kept = parent->findChild<QFileDialog*>(kName, Qt::FindDirectChildrenOnly)) {
            kept->selectFile(QString()); // the last choice is not offered again
            return kept;
        }
    }
    QFileDialog* dialog = makeOpenRomDialog(parent).release();
    dialog->setObjectName(kName);
    return dialog;
}

} // namespace tessel
