// Tools > Name Sprite…: a small dialog with the sprite's name in one line
// of text. OK keeps what is typed (an empty name removes the name),
// Cancel and Escape change nothing.
#pragma once

#include <QDialog>

class QLineEdit;

namespace tessel {

class SpriteNameDialog : public QDialog {
    Q_OBJECT
public:
    SpriteNameDialog(int sprite, const QString& name, QWidget* parent = nullptr);
    QString name() const;

private:
    QLineEdit* field_;
};

} // namespace tessel
