// The application-wide key filter: makes the editor's shortcuts work
// wherever the keyboard focus is, in the main window and in every dialog,
// message box and file dialog of the program.
//
// Install with qApp->installEventFilter(router). For every key press and
// release it builds a KeyStroke and a KeyContext and hands them to the
// routing in editor/key_routing.h; a routed key is consumed and its menu
// command has run (through runCommand) before the filter returns. A key
// event that Qt passes on from a widget to its parents is routed only once,
// at the widget it was meant for.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "editor/key_routing.h"

class QKeyEvent;
class QWidget;

namespace tessel {

class KeyRouter : public QObject {
    Q_OBJECT
public:
    // The parent, when it is a widget, is taken to be the main window: a
    // modal main window does not count as a modal dialog.
    KeyRouter(EditorState& state, std::function<void(int commandId)> runCommand,
              std::function<void()> refreshCursor, QObject* parent = nullptr);

    // The tool keys act only where `takesToolKeys` says so of the window
    // the key goes to; until this is called, nowhere.
    void setToolKeyWindows(std::function<bool(const QWidget* window)> takesToolKeys);

    // The key as routing sees it: Ctrl+letter gives the control character,
    // Alt or Meta combinations type nothing.
    static KeyStroke strokeOf(const QKeyEvent& event);
    // True when `widget` is a text field that can be typed into.
    static bool isEditableTextField(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyContext contextFor(const QWidget* target) const;
    bool passedOnFromChild(const QWidget* receiver, const QKeyEvent* event);

    EditorState& state_;
    KeyActions actions_;
    std::function<bool(const QWidget*)> takesToolKeys_;

    // The key event seen last and the widget it last reached, to tell an
    // event passed on to a parent from a new one.
    const QKeyEvent* lastEvent_ = nullptr;
    int lastType_ = 0;
    quint64 lastTimestamp_ = 0;
    QPointer<QWidget> lastReceiver_;
};

} // namespace tessel
