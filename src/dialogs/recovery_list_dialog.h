// File > Recover Edits: every recovery file present, one row each with the
// ROM's name, its path, when the edits were kept and how many sprites they
// hold, newest first. OK (or a double click) chooses the selected row.
#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QTreeWidget;

namespace tessel {

class RecoveryListDialog : public QDialog {
    Q_OBJECT
public:
    RecoveryListDialog(const QList<QStringList>& rows, QWidget* parent = nullptr);
    // The selected row, or -1 when none is.
    int chosenRow() const;

private:
    QTreeWidget* list_;
};

} // namespace tessel
