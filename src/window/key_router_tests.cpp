#include "window/key_router.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <memory>
#include <vector>

#include "model/command_ids.h"

namespace tessel {
namespace {

// A control that records the key presses that reach it.
class KeyProbe : public QWidget {
public:
    explicit KeyProbe(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }
    std::vector<int> pressed;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        pressed.push_back(e->key());
        e->accept();
    }
};

class KeyRouterTest : public ::testing::Test {
protected:
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::vector<int> ran;
    int cursorRefreshes = 0;

    QWidget window;
    QPushButton* toolButton = new QPushButton("tool", &window);
    QLineEdit* edit = new QLineEdit(&window);
    KeyProbe* probe = new KeyProbe(&window);
    KeyRouter router{*state, [this](int id) { ran.push_back(id); }, [this] { ++cursorRefreshes; },
                     &window};

    void SetUp() override
    {
        edit->move(0, 40);
        probe->setGeometry(0, 80, 20, 20);
        qApp->installEventFilter(&router);
    }
    void TearDown() override { qApp->removeEventFilter(&router); }

    void enableAll()
    {
        for (int id : CommandStates::allCommands) state->window.commands.setEnabled(id, true);
    }
    // Through the platform, as a real key arrives: window first, then the
    // focus widget, then its parents.
    void showAndFocus(QWidget* w)
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        w->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), w);
    }
};

TEST_F(KeyRouterTest, CtrlSSavesFromAToolButtonExactlyOnce)
{
    state->window.commands.setEnabled(ids::SaveCurrentSprite, true);
    QTest::keyClick(toolButton, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ran, std::vector<int>{ids::SaveCurrentSprite});

    ran.clear();
    showAndFocus(toolButton);
    QTest::keyClick(window.windowHandle(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ran, std::vector<int>{ids::SaveCurrentSprite});
}

TEST_F(KeyRouterTest, DisabledCommandKeyIsConsumedAndNothingRuns)
{
    showAndFocus(probe);
    QTest::keyClick(window.windowHandle(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(window.windowHandle(), Qt::Key_I);
    QTest::keyClick(window.windowHandle(), Qt::Key_Delete);
    EXPECT_TRUE(ran.empty());
    // Only the Ctrl key itself reached the control.
    EXPECT_EQ(probe->pressed, std::vector<int>{Qt::Key_Control});

    QTest::keyClick(window.windowHandle(), Qt::Key_B);
    EXPECT_EQ(probe->pressed.back(), Qt::Key_B);
}

TEST_F(KeyRouterTest, ShortcutsWorkInsideADialogButNotOpenOrClose)
{
    enableAll();
    QDialog dialog(&window);
    auto* ok = new QPushButton("OK", &dialog);
    auto* dialogProbe = new KeyProbe(&dialog);
    dialogProbe->move(0, 40);
    dialog.setModal(true);
    dialog.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &dialog);

    QTest::keyClick(ok, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(dialogProbe, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ran, (std::vector<int>{ids::SaveCurrentSprite, ids::Undo}));

    QTest::keyClick(dialogProbe, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(dialogProbe, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(ran.size(), 2u);
    EXPECT_EQ(dialogProbe->pressed,
              (std::vector<int>{Qt::Key_Control, Qt::Key_Control, Qt::Key_O, Qt::Key_Control,
                                Qt::Key_L}));

    dialog.hide();
    QTest::keyClick(toolButton, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(ran.back(), ids::OpenRom);
}

TEST_F(KeyRouterTest, AModalMainWindowIsNoDialog)
{
    enableAll();
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    QTest::keyClick(toolButton, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(ran, std::vector<int>{ids::CloseRom});
}

TEST_F(KeyRouterTest, TextFieldsKeepTheirKeysButFileShortcutsRoute)
{
    enableAll();
    showAndFocus(edit);
    QWindow* w = window.windowHandle();
    QTest::keyClicks(edit, "iPad");
    EXPECT_EQ(edit->text(), "iPad");
    QTest::keyClick(w, Qt::Key_Home);
    QTest::keyClick(w, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "Pad");
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(edit->selectedText(), "Pad");
    QTest::keyClick(w, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "");
    QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "Pad");
    EXPECT_TRUE(ran.empty());

    QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(ran, (std::vector<int>{ids::SaveCurrentSprite, ids::OpenRom}));
    EXPECT_EQ(edit->text(), "Pad");

    // A read-only field is no text field.
    ran.clear();
    edit->setReadOnly(true);
    QTest::keyClick(w, Qt::Key_I);
    EXPECT_EQ(ran, std::vector<int>{ids::ViewSpriteInfo});
}

TEST_F(KeyRouterTest, OtherKindsOfTextFieldKeepTheirKeys)
{
    enableAll();
    auto* spin = new QSpinBox(&window);
    auto* text = new QPlainTextEdit(&window);
    auto* combo = new QComboBox(&window);
    combo->setEditable(true);
    for (QWidget* field : std::initializer_list<QWidget*>{spin, text, combo}) {
        showAndFocus(field);
        QTest::keyClick(window.windowHandle(), Qt::Key_I);
        QTest::keyClick(window.windowHandle(), 'P', Qt::ShiftModifier); // QTest types no capital itself
        QTest::keyClick(window.windowHandle(), Qt::Key_Delete);
    }
    EXPECT_EQ(text->toPlainText(), "iP");
    EXPECT_EQ(combo->currentText(), "iP");
    EXPECT_TRUE(ran.empty());
    // A plain combo box is a list, not a text field.
    combo->setEditable(false);
    showAndFocus(combo);
    QTest::keyClick(window.windowHandle(), Qt::Key_I);
    EXPECT_EQ(ran, std::vector<int>{ids::ViewSpriteInfo});
}

TEST_F(KeyRouterTest, ShiftHoldsThePickerOnceThroughTheWholeDelivery)
{
    state->tools.currentTool = ToolId::Line;
    showAndFocus(toolButton);
    // The button ignores Shift, so Qt offers each event to the window too.
    QTest::keyPress(window.windowHandle(), Qt::Key_Shift);
    EXPECT_EQ(state->tools.currentTool, ToolId::ColourPicker);
    EXPECT_EQ(cursorRefreshes, 1);
    QTest::keyRelease(window.windowHandle(), Qt::Key_Shift);
    EXPECT_EQ(state->tools.currentTool, ToolId::Line);
    EXPECT_EQ(cursorRefreshes, 2);
    EXPECT_FALSE(state->window.shiftHeld);

    // A second release, with no press between, restores savedTool again.
    state->tools.currentTool = ToolId::Ellipse;
    QTest::keyRelease(window.windowHandle(), Qt::Key_Shift);
    EXPECT_EQ(state->tools.currentTool, ToolId::Line);
}

TEST_F(KeyRouterTest, AMenusMnemonicsWinOverCharacterShortcutsWhileItIsOpen)
{
    enableAll();
    showAndFocus(toolButton);
    QMenu menu(&window);
    int imported = 0;
    QObject::connect(menu.addAction("&Import Sprite from PNG…"), &QAction::triggered, [&] { ++imported; });
    menu.popup(window.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == &menu; }, 5000));
    QTest::keyClick(&menu, Qt::Key_I);
    EXPECT_EQ(imported, 1);
    EXPECT_TRUE(ran.empty());
    // Closed, the same key is the shortcut again.
    toolButton->setFocus();
    QTest::keyClick(toolButton, Qt::Key_I);
    EXPECT_EQ(ran, std::vector<int>{ids::ViewSpriteInfo});
}

TEST(KeyStrokeOf, ControlLettersAndPlainCharacters)
{
    auto stroke = [](int key, Qt::KeyboardModifiers mods, const QString& text) {
        return KeyRouter::strokeOf(QKeyEvent(QEvent::KeyPress, key, mods, text));
    };
    // Ctrl+S is 19 whether the platform gives the control character, the
    // letter or no text at all; Ctrl+Shift+A is 1 too.
    EXPECT_EQ(stroke(Qt::Key_S, Qt::ControlModifier, QString(QChar(19))).character, 19);
    EXPECT_EQ(stroke(Qt::Key_S, Qt::ControlModifier, "s").character, 19);
    EXPECT_EQ(stroke(Qt::Key_S, Qt::ControlModifier, "").character, 19);
    EXPECT_EQ(stroke(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, "A").character, 1);
    EXPECT_EQ(stroke(Qt::Key_P, Qt::ShiftModifier, "P").character, 'P');
    EXPECT_EQ(stroke(Qt::Key_P, Qt::NoModifier, "P").character, 'P'); // Caps Lock
    EXPECT_EQ(stroke(Qt::Key_I, Qt::NoModifier, "i").character, 'i');
    EXPECT_EQ(stroke(Qt::Key_I, Qt::AltModifier, "i").character, 0);
    EXPECT_EQ(stroke(Qt::Key_Shift, Qt::ShiftModifier, "").key, KeyCode::Shift);
    EXPECT_EQ(stroke(Qt::Key_Delete, Qt::NoModifier, QString(QChar(127))).key, KeyCode::Delete);
    // Ctrl+I is 9, and so is the text of Tab, which must not open anything;
    // keys with Alt or Meta are no shortcuts, Delete included.
    EXPECT_EQ(stroke(Qt::Key_I, Qt::ControlModifier, "").character, 9);
    EXPECT_EQ(stroke(Qt::Key_Tab, Qt::NoModifier, "\t").character, 0);
    EXPECT_EQ(stroke(Qt::Key_Return, Qt::NoModifier, "\r").character, 0);
    EXPECT_EQ(stroke(Qt::Key_Delete, Qt::AltModifier, "").key, KeyCode::Other);
    EXPECT_EQ(stroke(Qt::Key_Delete, Qt::MetaModifier, "").key, KeyCode::Other);
}

} // namespace
} // namespace tessel
