#include "window/open_rom_dialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QCoreApplication>

namespace tessel {

std::unique_ptr<QFileDialog> makeOpenRomDialog(QWidget* parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog everywhere: a desktop's native chooser may match the
    // pattern case-sensitively and hide "GAME.SMC".
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setNameFilters({QCoreApplication::translate("OpenRomDialog", kRomFilter), QCoreApplication::translate("OpenRomDialog", kAllFilesFilter)});
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    return dialog;
}

QFileDialog* openRomDialogOf(QWidget* parent)
{
    static const QString kName = QStringLiteral("openRomDialog");
    if (parent) {
        if (auto* kept = parent->findChild<QFileDialog*>(kName, Qt::FindDirectChildrenOnly))
            return kept;
    }
    QFileDialog* dialog = makeOpenRomDialog(parent).release();
    dialog->setObjectName(kName);
    return dialog;
}

QString runOpenRomDialog(QFileDialog& dialog)
{
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    const QString path = chosen ? dialog.selectedFiles().first() : QString();
    // The name field's completion list is a window of its own: it would
    // stay on the screen after the dialog, which is only hidden.
    dialog.selectFile(QString()); // the last choice is not offered again
    for (QCompleter* completer : dialog.findChildren<QCompleter*>())
        if (completer->popup()) completer->popup()->hide();
    return path;
}

} // namespace tessel
