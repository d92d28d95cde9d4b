#include "app/system_prompts.h"

#include <QCoreApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "dialogs/recovery_list_dialog.h"
#include "dialogs/sprite_name_dialog.h"
#include "window/open_rom_dialog.h"
#include "widgets/product.h"

namespace tessel {

namespace {

class SystemPrompts final : public UserPrompts {
public:
    QString openRomPath(QWidget* parent, const QString& startFolder) override
    {
        // Without a parent nothing would free the dialog: it lives for this
        // call only then.
        std::unique_ptr<QFileDialog> own;
        QFileDialog* dialog = parent ? openRomDialogOf(parent) : (own = makeOpenRomDialog(nullptr)).get();
        if (!startFolder.isEmpty()) dialog->setDirectory(startFolder);
        return runOpenRomDialog(*dialog);
    }

    QString openFilePath(QWidget* parent, const QString& caption, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    }

    QString saveFilePath(QWidget* parent, const QString& caption, const QString& filter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
    }

    QString openFile(QWidget* parent, const FileDialog& d) override
    {
        return QFileDialog::getOpenFileName(parent, d.caption, d.start, d.filter, d.chosenFilter);
    }

    QString saveFile(QWidget* parent, const FileDialog& d) override
    {
        return QFileDialog::getSaveFileName(parent, d.caption, d.start, d.filter, d.chosenFilter);
    }

    std::optional<int> choosePaletteNumber(QWidget* parent, const QString& text, int initial, int count) override
    {
        bool ok = false;
        const int chosen = QInputDialog::getInt(parent, kProductName, text, initial, 0, count - 1, 1, &ok);
        return ok ? std::optional<int>(chosen) : std::nullopt;
    }

    void information(QWidget* parent, const QString& text) override
    {
        QMessageBox::information(parent, kProductName, text);
    }

    void error(QWidget* parent, const QString& text) override
    {
        QMessageBox::warning(parent, kProductName, text);
    }

    void plainError(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::NoIcon, kProductName, text, QMessageBox::Ok, parent);
        box.exec();
    }

    bool askYesNo(QWidget* parent, const QString& text) override
    {
        return QMessageBox::question(parent, kProductName, text,
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes;
    }

    bool askYesNoDefaultNo(QWidget* parent, const QString& text) override
    {
        return QMessageBox::question(parent, kProductName, text,
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }

    SaveChoice askSaveChanges(QWidget* parent, const QString& romName, int editedSprites) override
    {
        QString text = QCoreApplication::translate("SystemPrompts", "Save changes to %1?").arg(romName);
        if (editedSprites == 1)
            text += QCoreApplication::translate("SystemPrompts", "\n\n1 sprite is edited and not saved.");
        else if (editedSprites > 1)
            text += QCoreApplication::translate("SystemPrompts", "\n\n%1 sprites are edited and not saved.").arg(editedSprites);
        const auto answer = QMessageBox::question(
            parent, kProductName, text,
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        if (answer == QMessageBox::Save) return SaveChoice::Save;
        if (answer == QMessageBox::Discard) return SaveChoice::Discard;
        return SaveChoice::Cancel;
    }

    RecoveryChoice askRestoreEdits(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, kProductName, text, QMessageBox::NoButton, parent);
        QPushButton* restore = box.addButton(QCoreApplication::translate("SystemPrompts", "Restore"), QMessageBox::AcceptRole);
        QPushButton* discard = box.addButton(QCoreApplication::translate("SystemPrompts", "Discard"), QMessageBox::DestructiveRole);
        box.setDefaultButton(restore);
        box.exec();
        // A box closed any other way (the program ending meanwhile) keeps
        // the edits for the next time.
        return box.clickedButton() == discard ? RecoveryChoice::Discard : RecoveryChoice::Restore;
    }

    int chooseRecoveryFile(QWidget* parent, const QList<QStringList>& rows) override
    {
        RecoveryListDialog dialog(rows, parent);
        return dialog.exec() == QDialog::Accepted ? dialog.chosenRow() : -1;
    }

    std::optional<QString> askSpriteName(QWidget* parent, int sprite, const QString& current) override
    {
        SpriteNameDialog dialog(sprite, current, parent);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.name();
    }

    SaveChoice askApplyPalette(QWidget* parent, int palette) override
    {
        QMessageBox box(QMessageBox::Question, kProductName,
                        QCoreApplication::translate("SystemPrompts", "Apply the changes to palette %1?").arg(palette),
                        QMessageBox::NoButton, parent);
        QPushButton* apply = box.addButton(QCoreApplication::translate("SystemPrompts", "&Apply"), QMessageBox::AcceptRole);
        QPushButton* discard = box.addButton(QMessageBox::Discard);
        box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(apply);
        box.exec();
        if (box.clickedButton() == apply) return SaveChoice::Save;
        if (box.clickedButton() == discard) return SaveChoice::Discard;
        return SaveChoice::Cancel;
    }

    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) override
    {
        const QColor chosen = QColorDialog::getColor(initial, parent);
        if (!chosen.isValid()) return std::nullopt;
        return chosen;
    }
};

} // namespace

UserPrompts& systemPrompts()
{
    static SystemPrompts prompts;
    return prompts;
}

} // namespace tessel
