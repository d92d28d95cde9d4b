#include "dialogs/keyboard_shortcuts_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editor/key_routing.h"
#include "widgets/accessible_text.h"
#include "widgets/color_swatch.h"

namespace tessel {

namespace {

// A menu text without its mnemonic, its shortcut column and its dots.
QString plainMenuText(QString text)
{
    text = text.section(QLatin1Char('\t'), 0, 0).trimmed();
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    while (text.endsWith(QLatin1Char('.')) || text.endsWith(QChar(0x2026))) text.chop(1);
    return text;
}

} // namespace

KeyboardShortcutsDialog::KeyboardShortcutsDialog(std::function<QString(int commandId)> commandText,
                                                 QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this))
{
    setWindowTitle(tr("Keyboard Shortcuts"));
    list_->setHeaderLabels({tr("Key"), tr("Does"), tr("Where")});
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    list_->setAccessibleName(tr("Keyboard shortcuts"));
    auto add = [this](const QString& key, const QString& does, const QString& where) {
        new QTreeWidgetItem(list_, {key, does, where});
    };

    const QString everywhere = tr("Everywhere, also in dialogs");
    const QString editor = tr("Main window and Large View, outside text fields");
    for (const KeyBinding& b : keyBindings()) {
        const QString key = QString::fromStdString(b.keys);
        switch (b.action) {
        case KeyAction::Command: add(key, plainMenuText(commandText(b.commandId)), everywhere); break;
        case KeyAction::HoldColourPicker: add(key, tr("Color picker while held"), everywhere); break;
        case KeyAction::ChooseTool: add(key, tr("%1 tool").arg(toolName(b.tool)), editor); break;
        case KeyAction::StepForeground:
            add(key, b.step < 0 ? tr("Foreground color: previous index") : tr("Foreground color: next index"),
                editor);
            break;
        case KeyAction::StepBackground:
            add(key, b.step < 0 ? tr("Background color: previous index") : tr("Background color: next index"),
                editor);
            break;
        }
    }
    const QString onSwatch = tr("On a color swatch");
    for (const SwatchKey& k : ColorSwatch::keys()) {
        const QString key = QKeySequence(QKeyCombination(k.modifiers, Qt::Key(k.key))).toString(QKeySequence::NativeText);
        switch (k.action) {
        case SwatchKeyAction::Move: add(key, tr("Move to the neighbouring swatch"), onSwatch); break;
        case SwatchKeyAction::Pick: add(key, tr("Make it the foreground color"), onSwatch); break;
        case SwatchKeyAction::PickBackground: add(key, tr("Make it the background color"), onSwatch); break;
        }
    }
    for (int c = 0; c < list_->columnCount(); ++c) list_->resizeColumnToContents(c);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(620, 480);
}

} // namespace tessel
