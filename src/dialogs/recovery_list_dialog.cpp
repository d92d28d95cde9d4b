#include "dialogs/recovery_list_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessel {

RecoveryListDialog::RecoveryListDialog(const QList<QStringList>& rows, QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this))
{
    setWindowTitle(tr("Recover Edits"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Unsaved edits kept from earlier runs. Choose the ones to restore: "
                                                "their ROM is opened and they are offered back."),
                                 this));
    list_->setHeaderLabels({tr("ROM"), tr("Path"), tr("Kept"),
                            tr("Sprites")});
    list_->setRootIsDecorated(false);
    list_->setAccessibleName(tr("Kept edits"));
    list_->setAllColumnsShowFocus(true);
    for (const QStringList& row : rows) list_->addTopLevelItem(new QTreeWidgetItem(row));
    for (int c = 0; c < list_->columnCount(); ++c) list_->resizeColumnToContents(c);
    if (!rows.isEmpty()) list_->setCurrentItem(list_->topLevelItem(0));
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Open"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(640, 280);
}

int RecoveryListDialog::chosenRow() const
{
    QTreeWidgetItem* item = list_->currentItem();
    return item ? list_->indexOfTopLevelItem(item) : -1;
}

} // namespace tessel
