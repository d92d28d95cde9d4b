// The window for screen readers and the keyboard: every control named, the
// swatches and the canvas reached with Tab, the tool keys, the list of keys.
#include <QAbstractButton>
#include <QAccessible>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "dialogs/about_dialog.h"
#include "dialogs/history_dialog.h"
#include "dialogs/keyboard_shortcuts_dialog.h"
#include "dialogs/palette_editor_dialog.h"
#include "dialogs/recovery_list_dialog.h"
#include "dialogs/sprite_info_dialog.h"
#include "window/key_router.h"
#include "window/open_rom_dialog.h"
#include "window/window_test_fixture.h"
#include "model/command_ids.h"

namespace tessel::testing {
namespace {

class KeyboardAccess : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        prompts.nextPath = makeRomFile("keys.smc");
        window->runCommand(ids::OpenRom);
        ASSERT_TRUE(state->romOpen());
        router.setToolKeyWindows([this](const QWidget* w) { return window->takesToolKeys(w); });
        qApp->installEventFilter(&router);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override
    {
        qApp->removeEventFilter(&router);
        WindowTest::TearDown();
    }
    void type(QWidget* target, char c) { QTest::keyClick(target, c); }

    KeyRouter router{*state, [this](int id) { window->runCommand(id); }, [this] { window->refreshCursor(); },
                     nullptr};
};

// Focusable or clickable controls that a screen reader would announce
// without a name, in every window of the program.
QStringList unnamedControls()
{
    QStringList unnamed;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        for (QWidget* w : top->findChildren<QWidget*>()) {
            const bool clickable = qobject_cast<QAbstractButton*>(w) || w->inherits("tessel::ColorSwatch");
            if (w->focusProxy() || !(clickable || w->focusPolicy() != Qt::NoFocus)) continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << QStringLiteral("%1 %2 in %3")
                               .arg(w->metaObject()->className(), w->objectName(), top->windowTitle());
        }
    }
    return unnamed;
}

TEST_F(KeyboardAccess, EveryControlOfEveryWindowHasAName)
{
    window->runCommand(ids::LargeView);
    window->runCommand(ids::KeyboardShortcuts);
    window->runCommand(ids::SpriteOverview);
    window->runCommand(ids::Preview);
    PaletteEditorDialog palette(*state, prompts, window.get());
    SpriteInfoDialog info(*state, window.get());
    HistoryDialog history(*state, window.get());
    AboutDialog about(50, window.get());
    RecoveryListDialog recovery({{"keys.smc", "/tmp/keys.smc", "today", "2"}}, window.get());
    QFileDialog* open = openRomDialogOf(window.get());
    for (QWidget* w : std::initializer_list<QWidget*>{&palette, &info, &history, &about, &recovery, open}) w->show();
    const QStringList unnamed = unnamedControls();
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join("\n").toStdString();
    // The swatches say their colour, the canvas what it shows.
    const int p = state->current().paletteIndex & 31;
    const RawPalette& raw = state->document.rawPalettes[p];
    EXPECT_EQ(window->control(1004 + 3)->accessibleName(),
              QStringLiteral("Color 3: red %1, green %2, blue %3").arg(raw.red[3]).arg(raw.green[3]).arg(raw.blue[3]));
    QAccessibleInterface* canvas =
        QAccessible::queryAccessibleInterface(window->clientArea()->focusProxy());
    ASSERT_TRUE(canvas);
    EXPECT_EQ(canvas->role(), QAccessible::Graphic);
    EXPECT_TRUE(canvas->text(QAccessible::Description).startsWith("Sprite 0: "));
    open->hide();
}

TEST_F(KeyboardAccess, TabReachesASwatchWhereArrowsMoveAndSpacePicks)
{
    window->control(ids::SpriteNumberEdit)->setFocus();
    QWidget* swatch = nullptr;
    for (int i = 0; i < 40 && !swatch; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget()->inherits("tessel::ColorSwatch")) swatch = QApplication::focusWidget();
    }
    ASSERT_EQ(swatch, window->control(1004)) << "one Tab stop for the swatches, at colour 0";
    QTest::keyClick(swatch, Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); // the lower row: colour 9
    ASSERT_EQ(QApplication::focusWidget(), window->control(1004 + 9));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(state->tools.foregroundIndex, 9);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(state->tools.backgroundIndex, 8);
    EXPECT_EQ(state->tools.foregroundIndex, 9);
}

TEST_F(KeyboardAccess, ToolKeysTypeInTextFieldsAndChooseToolsOnTheCanvas)
{
    const struct {
        char key;
        ToolId tool;
    } keys[] = {{'b', ToolId::Pencil},  {'g', ToolId::FloodFill}, {'k', ToolId::ColourPicker},
                {'m', ToolId::Select},  {'l', ToolId::Line},      {'r', ToolId::Rectangle},
                {'e', ToolId::Ellipse}, {'o', ToolId::RoundedRectangle}};
    auto* lineSize = qobject_cast<QLineEdit*>(window->control(ids::LineSizeEdit));
    QWidget* canvas = window->clientArea()->focusProxy();
    for (const auto& k : keys) {
        SCOPED_TRACE(k.key);
        window->runCommand(ids::LineButton);
        lineSize->setText("1");
        lineSize->setFocus();
        type(lineSize, k.key);
        EXPECT_EQ(lineSize->text(), QStringLiteral("1%1").arg(QChar(k.key)));
        EXPECT_EQ(state->tools.currentTool, ToolId::Line);
        canvas->setFocus();
        type(canvas, k.key);
        EXPECT_EQ(state->tools.currentTool, k.tool);
    }
    // The colour steps wrap around.
    state->tools.foregroundIndex = 0;
    type(canvas, '[');
    EXPECT_EQ(state->tools.foregroundIndex, 15);
    type(canvas, '}');
    EXPECT_EQ(state->tools.backgroundIndex, 1);
}

TEST_F(KeyboardAccess, TheShortcutsWindowListsTheRoutedKeys)
{
    window->runCommand(ids::KeyboardShortcuts);
    auto* dialog = window->findChild<KeyboardShortcutsDialog*>();
    ASSERT_TRUE(dialog && dialog->isVisible());
    QStringList rows;
    for (int i = 0; i < dialog->list()->topLevelItemCount(); ++i)
        rows << dialog->list()->topLevelItem(i)->text(0) + " = " + dialog->list()->topLevelItem(i)->text(1);
    for (const char* row : {"Ctrl+S = Save Current Sprite", "Ctrl+A = Save All Sprites", "Shift+P = Palette Editor",
                            "I = View sprite info", "Del = Delete", "Ctrl+Y = Redo", "Ctrl+E = Large View",
                            "B = Pencil tool", "O = Rounded rectangle tool", "Space = Make it the foreground color"})
        EXPECT_TRUE(rows.contains(row)) << row;
}

} // namespace
} // namespace tessel::testing
