// The soak session inside modal dialogs: the palette editor, the sprite
// information and the About box run their own event loops, so they are
// driven from zero timers armed just before any action that may open one.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <algorithm>

#include "soak/soak_session.h"

namespace tessel::testing {

namespace {

constexpr int kMaxNesting = 3; // dialogs opened from within dialogs

template <typename W>
W* childById(QDialog* dialog, int id)
{
    return dialog->findChild<W*>(QString::number(id));
}

} // namespace

void SoakSession::armDialogDriver()
{
    // The dialog that is on top now (none in the main window) is not the
    // one this timer is for.
    const QPointer<QWidget> below = QApplication::activeModalWidget();
    QTimer::singleShot(0, window_.get(), [this, below] {
        auto* top = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!top || top == below) return;
        if (std::find(driving_.begin(), driving_.end(), top) != driving_.end()) return;
        if (static_cast<int>(driving_.size()) < kMaxNesting) {
            driveDialog(top);
        } else {
            note("deep enough: close dialog " + top->objectName().toStdString());
            top->reject();
        }
    });
}

void SoakSession::startWatchdog()
{
    watchdog_.setInterval(2000);
    QObject::connect(&watchdog_, &QTimer::timeout, window_.get(), [this] {
        auto* top = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        const bool driven = std::find(driving_.begin(), driving_.end(), top) != driving_.end();
        if (!top || driven) {
            unattended_ = nullptr;
            return;
        }
        if (top == unattended_) {
            fail("a modal dialog (" + top->objectName().toStdString() + ") stayed open unattended");
            top->reject();
        }
        unattended_ = top;
    });
    watchdog_.start();
}

void SoakSession::driveDialog(QDialog* dialog)
{
    driving_.push_back(dialog);
    ++dialogs_;
    const std::string name = dialog->objectName().toStdString();
    note("in dialog " + name);
    const bool paletteEditor = name == "176";
    for (int n = pick(paletteEditor ? 14 : 4); n > 0 && dialog->isVisible(); --n) {
        armDialogDriver();
        if (paletteEditor && chance(0.85))
            paletteEditorAction(dialog);
        else
            dialogKey(dialog);
    }
    if (dialog->isVisible()) {
        const int how = pick(3);
        note("close dialog " + name);
        if (how == 0) {
            QWidget* focus = dialog->focusWidget();
            QTest::keyClick(focus ? focus : dialog, Qt::Key_Escape);
        } else if (auto* button = childById<QPushButton>(dialog, 2); how == 1 && button) {
            QTest::mouseClick(button, Qt::LeftButton); // the palette editor's Close
        } else {
            dialog->reject();
        }
    }
    if (dialog->isVisible()) {
        fail("dialog " + name + " did not close");
        dialog->reject();
    }
    driving_.pop_back();
}

// Shortcuts work inside dialogs too (not Open or Close ROM); Space and
// Return press the focused button.
void SoakSession::dialogKey(QDialog* dialog)
{
    static const std::pair<Qt::Key, Qt::KeyboardModifiers> kKeys[] = {
        {Qt::Key_S, Qt::ControlModifier}, {Qt::Key_Z, Qt::ControlModifier},
        {Qt::Key_L, Qt::ControlModifier}, {Qt::Key_O, Qt::ControlModifier},
        {Qt::Key_I, {}},                  {Qt::Key_P, Qt::ShiftModifier},
        {Qt::Key_Tab, {}},                {Qt::Key_Space, {}},
        {Qt::Key_Delete, {}},             {Qt::Key_A, Qt::ControlModifier}};
    const auto& [key, modifiers] = kKeys[pick(static_cast<int>(std::size(kKeys)))];
    QWidget* focus = dialog->focusWidget();
    QWidget* target = focus ? focus : dialog;
    note("dialog key " + QKeySequence(key | modifiers).toString().toStdString());
    prompts_.saveAnswer = static_cast<SaveChoice>(pick(3));
    if (key == Qt::Key_I)
        QTest::keyClick(target, 'i');
    else if (key == Qt::Key_P)
        QTest::keyClick(target, 'P', modifiers);
    else
        QTest::keyClick(target, key, modifiers);
}

void SoakSession::paletteEditorAction(QDialog* dialog)
{
    static const char* const kFieldTexts[] = {"0", "31", "15", "7", "99", "-4", "x", ""};
    const int c = pick(3);
    switch (pick(8)) {
    case 0: {
        static const Qt::Key kSliderKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_PageUp,
                                              Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
        note("palette slider key");
        QTest::keyClick(childById<QSlider>(dialog, 1075 + c), kSliderKeys[pick(6)]);
        break;
    }
    case 1: {
        const char* text = kFieldTexts[pick(static_cast<int>(std::size(kFieldTexts)))];
        note(std::string("palette field typed \"") + text + "\"");
        auto* field = childById<QLineEdit>(dialog, 1096 + c);
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
        break;
    }
    case 2:
        note("palette swatch");
        QTest::mouseClick(childById<QWidget>(dialog, 1080 + pick(16)), Qt::LeftButton);
        break;
    case 3:
        note("palette choice");
        QTest::keyClick(childById<QComboBox>(dialog, 1078), chance(0.5) ? Qt::Key_Down : Qt::Key_Up);
        break;
    case 4:
        note("<< Add Color");
        QTest::mouseClick(childById<QPushButton>(dialog, 1100), Qt::LeftButton);
        break;
    case 5:
        note("Apply Changes");
        QTest::mouseClick(childById<QPushButton>(dialog, 1079), Qt::LeftButton);
        break;
    case 6:
        note("colour chooser");
        if (chance(0.3))
            prompts_.colourAnswer.reset();
        else
            prompts_.colourAnswer = QColor(pick(256), pick(256), pick(256));
        QTest::mouseClick(childById<QPushButton>(dialog, 1104), Qt::LeftButton);
        break;
    default:
        dialogKey(dialog);
        break;
    }
}

} // namespace tessel::testing
