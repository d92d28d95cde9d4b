#include "window/key_router.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace tessel {

KeyRouter::KeyRouter(EditorState& state, std::function<void(int commandId)> runCommand,
                     std::function<void()> refreshCursor, QObject* parent)
    : QObject(parent), state_(state), actions_{std::move(runCommand), std::move(refreshCursor)}
{
}

void KeyRouter::setToolKeyWindows(std::function<bool(const QWidget* window)> takesToolKeys)
{
    takesToolKeys_ = std::move(takesToolKeys);
}

KeyStroke KeyRouter::strokeOf(const QKeyEvent& event)
{
    KeyStroke stroke;
    stroke.autoRepeat = event.isAutoRepeat();
    const Qt::KeyboardModifiers mods = event.modifiers();
    const bool altOrMeta = mods & (Qt::AltModifier | Qt::MetaModifier);
    switch (event.key()) {
    case Qt::Key_Delete:
        if (!altOrMeta) stroke.key = KeyCode::Delete; // Alt+Delete is no shortcut
        break;
    case Qt::Key_Shift: stroke.key = KeyCode::Shift; break;
    default: break;
    }
    if (altOrMeta) return stroke; // types no character
    const int key = event.key();
    if (mods & Qt::ControlModifier) {
        // Platforms differ in the text they give Ctrl+letter (the control
        // character, the plain letter or nothing); the key code is reliable.
        if (key >= Qt::Key_A && key <= Qt::Key_Z) stroke.character = key - Qt::Key_A + 1;
        return stroke;
    }
    // Keys that type a control character without Ctrl (Tab, Return,
    // Backspace, Escape) are not the Ctrl+letter shortcuts.
    const QString text = event.text();
    if (text.size() == 1 && text.at(0).unicode() >= 0x20) stroke.character = text.at(0).unicode();
    return stroke;
}

bool KeyRouter::isEditableTextField(const QWidget* widget)
{
    for (int depth = 0; widget && depth < 2; ++depth, widget = widget->parentWidget()) {
        // The keys may reach the viewport of a text edit or the line edit
        // inside a spin box or combo box; the field is its parent then.
        // While a completer's list pops up under a field (the file name box
        // of the Open ROM dialog), the keys reach the list, which hands them
        // on to the field it names as its focus proxy.
        if (const QWidget* proxy = widget->focusProxy()) widget = proxy;
        if (auto* e = qobject_cast<const QLineEdit*>(widget)) return !e->isReadOnly();
        if (auto* s = qobject_cast<const QAbstractSpinBox*>(widget)) return !s->isReadOnly();
        if (auto* t = qobject_cast<const QTextEdit*>(widget)) return !t->isReadOnly();
        if (auto* p = qobject_cast<const QPlainTextEdit*>(widget)) return !p->isReadOnly();
        if (auto* c = qobject_cast<const QComboBox*>(widget)) return c->isEditable();
    }
    return false;
}

KeyContext KeyRouter::contextFor(const QWidget* target) const
{
    KeyContext context;
    context.inTextField = isEditableTextField(target);
    context.menuOpen = qobject_cast<const QMenu*>(QApplication::activePopupWidget()) ||
                       qobject_cast<const QMenuBar*>(target);
    const QWidget* modal = QApplication::activeModalWidget();
    const QWidget* mainWindow = nullptr;
    if (parent() && parent()->isWidgetType()) mainWindow = static_cast<QWidget*>(parent())->window();
    context.modalDialogOpen = modal && modal != mainWindow;
    context.editorWindow = target && takesToolKeys_ && takesToolKeys_(target->window());
    return context;
}

bool KeyRouter::passedOnFromChild(const QWidget* receiver, const QKeyEvent* event)
{
    // Qt offers a key event that a widget ignored to its parents, one after
    // the other, and every offer passes this filter. Only the first counts.
    const bool passedOn = event == lastEvent_ && event->type() == lastType_ &&
                          event->timestamp() == lastTimestamp_ && lastReceiver_ &&
                          receiver != lastReceiver_ && receiver->isAncestorOf(lastReceiver_);
    lastEvent_ = event;
    lastType_ = event->type();
    lastTimestamp_ = event->timestamp();
    lastReceiver_ = const_cast<QWidget*>(receiver);
    return passedOn;
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    // A key event first reaches the window's QWindow, which hands it on to
    // its focus widget; routing acts there.
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);

    if (type == QEvent::ShortcutOverride) {
        // Claim the keys we route, so that no shortcut of a Qt widget or
        // dialog takes them before they arrive as key presses.
        const KeyStroke stroke = strokeOf(*key);
        const KeyContext context = contextFor(widget);
        if (routedCommand(stroke, context) == 0 && !isToolKey(stroke, context)) return false;
        key->accept();
        return true;
    }

    if (passedOnFromChild(widget, key)) return false;
    const KeyStroke stroke = strokeOf(*key);
    if (type == QEvent::KeyRelease) {
        keyReleased(state_, stroke, actions_);
        return false;
    }
    if (!keyPressed(state_, stroke, contextFor(widget), actions_)) return false;
    // The command has run (it may have opened and closed dialogs meanwhile).
    lastEvent_ = nullptr;
    key->accept();
    return true;
}

} // namespace tessel
