#include "dialogs/sprite_name_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "interchange/sprite_names.h"

namespace tessel {

SpriteNameDialog::SpriteNameDialog(int sprite, const QString& name, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("spriteNameDialog"));
    setWindowTitle(tr("Name Sprite %1").arg(sprite));
    auto* label = new QLabel(tr("&Name of sprite %1 (empty: no name):").arg(sprite), this);
    field_ = new QLineEdit(name, this);
    field_->setObjectName(QStringLiteral("spriteNameField"));
    field_->setMaxLength(static_cast<int>(kMaxNameCharacters));
    field_->setAccessibleName(tr("Name of sprite %1").arg(sprite));
    field_->setAccessibleDescription(tr("Up to %1 characters; an empty name removes it").arg(kMaxNameCharacters));
    field_->selectAll();
    label->setBuddy(field_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(field_);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

QString SpriteNameDialog::name() const { return field_->text(); }

} // namespace tessel
