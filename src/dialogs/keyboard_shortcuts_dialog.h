// Help > Keyboard Shortcuts: every key of the program in one list, read
// from the key tables themselves (editor/key_routing.h for the shortcuts
// and the tool keys, ColorSwatch::keys() for the swatches), so that it
// cannot drift from what the keys do. A key that runs a menu command is
// described by that command's menu text, which the window hands in.
#pragma once

#include <QDialog>
#include <functional>

class QTreeWidget;

namespace tessel {

class KeyboardShortcutsDialog : public QDialog {
    Q_OBJECT
public:
    // `commandText` gives a menu command's text as the menu shows it.
    KeyboardShortcutsDialog(std::function<QString(int commandId)> commandText, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }

private:
    QTreeWidget* list_;
};

} // namespace tessel
