// Swatches, tool buttons and their options, and the mouse on the canvas,
// driven with real input events.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "window/key_router.h"
#include "window/window_test_fixture.h"
#include "editor/sprite_selection.h"
#include "model/command_ids.h"
#include "widgets/color_swatch.h"

namespace tessel::testing {
namespace {

class WindowInput : public WindowTest {
protected:
    // With a ROM open, sprite 4 made 2 x 2 tiles of index 0 in palette 6,
    // whose colour i is (i, 10 * i, 255 - i).
    void loadSprite()
    {
        prompts.nextPath = makeRomFile("input.smc");
        window->runCommand(ids::OpenRom);
        ASSERT_TRUE(state->romOpen());
        SpriteRecord& r = state->document.spriteStore[4];
        r.widthTiles = 2;
        r.heightTiles = 2;
        r.paletteIndex = 6;
        r.pixels.fill(0);
        for (int i = 0; i < 16; ++i) {
            state->document.displayPalettes[6].red[i] = i;
            state->document.displayPalettes[6].green[i] = 10 * i;
            state->document.displayPalettes[6].blue[i] = 255 - i;
        }
        selectSprite(*state, 4);
    }
    static QColor colour(int i) { return QColor(i, 10 * i, 255 - i); }
    int pixel(int x, int y) const { return state->document.spriteStore[4].pixels[y * 64 + x] & 15; }

    QWidget* client() const { return window->clientArea(); }
    void press(Qt::MouseButton b, QPoint p) { QTest::mousePress(client(), b, {}, p); }
    void release(Qt::MouseButton b, QPoint p) { QTest::mouseRelease(client(), b, {}, p); }
    void moveHeld(Qt::MouseButtons held, QPoint p)
    {
        QMouseEvent e(QEvent::MouseMove, p, client()->mapToGlobal(p), Qt::NoButton, held, {});
        QApplication::sendEvent(client(), &e);
    }
    void clickTool(int id) { QTest::mouseClick(control<QPushButton>(id), Qt::LeftButton); }
};

TEST_F(WindowInput, SwatchLeftClickChoosesTheForegroundRightClickTheBackground)
{
    loadSprite();
    QTest::mouseClick(window->control(1004 + 5), Qt::LeftButton);
    EXPECT_EQ(state->tools.foregroundIndex, 5);
    EXPECT_EQ(control<ColorSwatch>(1002)->color(), colour(5));
    QTest::mouseClick(window->control(1004 + 11), Qt::RightButton);
    EXPECT_EQ(state->tools.backgroundIndex, 11);
    auto* back = control<ColorSwatch>(1003);
    EXPECT_EQ(back->color(), colour(11));
    EXPECT_EQ(back->border(), int(SwatchBorder::Black));
    EXPECT_EQ(state->tools.foregroundIndex, 5);
    // The foreground indicator stays drawn over the background one.
    const QImage img = paintedClient();
    EXPECT_EQ(img.pixel(335, 350), colour(5).rgb());
    EXPECT_EQ(img.pixel(350, 362), colour(11).rgb());

    // The indicators themselves have no right click.
    QTest::mouseClick(window->control(1002), Qt::RightButton);
    EXPECT_EQ(state->tools.backgroundIndex, 11);
}

TEST_F(WindowInput, SwatchRightClickBeforeAnySpriteGivesAGreyBackground)
{
    QTest::mouseClick(window->control(1004 + 2), Qt::RightButton);
    EXPECT_EQ(state->tools.backgroundIndex, 2);
    EXPECT_EQ(control<ColorSwatch>(1003)->color(), QColor(64, 64, 64));
}

TEST_F(WindowInput, ToolButtonsAreExclusiveAndShowTheirOptions)
{
    auto shown = [&](std::initializer_list<int> ids) {
        QStringList visible;
        for (int id : {1039, 1040, 1068, 1041, 1069, 1044, 1045, 1070, 1067})
            if (window->control(id)->isVisible()) visible << QString::number(id);
        QStringList expected;
        for (int id : ids) expected << QString::number(id);
        return visible == expected;
    };
    clickTool(1037);
    EXPECT_EQ(state->tools.currentTool, ToolId::Rectangle);
    EXPECT_TRUE(control<QPushButton>(1037)->isChecked());
    EXPECT_FALSE(control<QPushButton>(1033)->isChecked());
    EXPECT_TRUE(shown({1039, 1040, 1068, 1041, 1069}));
    clickTool(1043);
    EXPECT_EQ(state->tools.currentTool, ToolId::RoundedRectangle);
    EXPECT_TRUE(shown({1039, 1040, 1068, 1041, 1069, 1044, 1045, 1070}));
    clickTool(1036);
    EXPECT_EQ(state->tools.currentTool, ToolId::Line);
    EXPECT_TRUE(shown({1039, 1040, 1068}));
    clickTool(1035);
    EXPECT_EQ(state->tools.currentTool, ToolId::Select);
    EXPECT_TRUE(shown({1067}));
    clickTool(1034);
    EXPECT_EQ(state->tools.currentTool, ToolId::FloodFill);
    EXPECT_TRUE(shown({}));
    clickTool(1042);
    EXPECT_EQ(state->tools.currentTool, ToolId::ColourPicker);
    clickTool(1038);
    EXPECT_EQ(state->tools.currentTool, ToolId::Ellipse);
    clickTool(1033);
    EXPECT_EQ(state->tools.currentTool, ToolId::Pencil);
    EXPECT_TRUE(shown({}));
}

TEST_F(WindowInput, FillListAndTransparencyBoxSetTheState)
{
    clickTool(1037);
    control<QComboBox>(1041)->setCurrentIndex(2);
    EXPECT_EQ(state->tools.fillMode, FillMode::Background);
    control<QComboBox>(1041)->setCurrentIndex(1);
    EXPECT_EQ(state->tools.fillMode, FillMode::Transparent);
    clickTool(1035);
    QTest::mouseClick(control<QCheckBox>(1067), Qt::LeftButton);
    EXPECT_TRUE(state->tools.transparentSelection);
    QTest::mouseClick(control<QCheckBox>(1067), Qt::LeftButton);
    EXPECT_FALSE(state->tools.transparentSelection);
}

TEST_F(WindowInput, PencilPressAndDragMapClientPointsTowardZero)
{
    loadSprite();
    QTest::mouseClick(window->control(1004 + 9), Qt::LeftButton);
    // Client x 3 lies on column 0 ((3 - 2) / 4); row 5 from y 22..25.
    press(Qt::LeftButton, QPoint(3, 22));
    EXPECT_EQ(pixel(0, 5), 9);
    // While the button is held, x = -1 still truncates to column 0 ...
    moveHeld(Qt::LeftButton, QPoint(-1, 26));
    EXPECT_EQ(pixel(0, 6), 9);
    // ... and x = -2 is column -1: nothing is drawn.
    moveHeld(Qt::LeftButton, QPoint(-2, 30));
    EXPECT_EQ(pixel(0, 7), 0);
    release(Qt::LeftButton, QPoint(-2, 30));
    // The canvas shows it at once.
    EXPECT_EQ(paintedClient().pixel(3, 26), colour(9).rgb());
}

TEST_F(WindowInput, ADraggedLineCoversItsStartButNotItsEnd)
{
    loadSprite();
    QTest::mouseClick(window->control(1004 + 7), Qt::LeftButton);
    clickTool(1036);
    auto at = [](int x, int y) { return QPoint(2 + 4 * x + 1, 2 + 4 * y + 1); };
    press(Qt::LeftButton, at(1, 3));
    moveHeld(Qt::LeftButton, at(4, 3));
    moveHeld(Qt::LeftButton, at(9, 3));
    release(Qt::LeftButton, at(9, 3));
    for (int x = 0; x < 16; ++x) EXPECT_EQ(pixel(x, 3), (x >= 1 && x < 9) ? 7 : 0) << x;
    for (int x = 0; x < 16; ++x) EXPECT_EQ(pixel(x, 2), 0) << x;
}

TEST_F(WindowInput, EditCommandsReachTheSelectionAndTheMenuFollows)
{
    loadSprite();
    state->current().pixels[0] = 4; // (0, 0)

    // The flip button mirrors the 16-pixel-wide sprite; twice restores it.
    QTest::mouseClick(window->control(ids::HFlipButton), Qt::LeftButton);
    EXPECT_EQ(pixel(15, 0), 4);
    EXPECT_EQ(pixel(0, 0), 0);
    window->action(ids::HFlip)->trigger();
    EXPECT_EQ(pixel(0, 0), 4);
    QTest::mouseClick(window->control(ids::VFlipButton), Qt::LeftButton);
    EXPECT_EQ(pixel(0, 15), 4);
    EXPECT_TRUE(window->action(ids::Undo)->isEnabled());
    window->action(ids::Undo)->trigger();
    EXPECT_EQ(pixel(0, 0), 4);

    // Copy of the whole sprite enables Paste; Delete clears the sprite to
    // the background index and Paste brings it back.
    EXPECT_FALSE(window->action(ids::Paste)->isEnabled());
    window->action(ids::Copy)->trigger();
    EXPECT_TRUE(window->action(ids::Paste)->isEnabled());
    window->action(ids::Delete)->trigger();
    EXPECT_EQ(pixel(0, 0), 0);
    window->action(ids::Paste)->trigger();
    EXPECT_EQ(pixel(0, 0), 4);
    EXPECT_EQ(paintedClient().pixel(3, 3), colour(4).rgb());

    // A pasted block floats with the Select tool, whose box is then shown.
    state->selection.selectionRect = Rect{0, 0, 2, 2};
    window->action(ids::Copy)->trigger();
    window->runCommand(ids::PencilButton);
    window->action(ids::Paste)->trigger();
    EXPECT_EQ(state->tools.currentTool, ToolId::Select);
    EXPECT_TRUE(control<QPushButton>(1035)->isChecked());
    EXPECT_TRUE(window->control(1067)->isVisible());
    EXPECT_TRUE(state->selection.selectionFloating);
}

TEST_F(WindowInput, CursorOverTheSpriteIsTheToolsPicture)
{
    loadSprite();
    QTest::mouseMove(client(), QPoint(20, 20));
    EXPECT_EQ(client()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(client()->cursor().hotSpot(), QPoint(7, 22));
    QTest::mouseMove(client(), QPoint(300, 200)); // beside the 16 x 16 sprite
    EXPECT_EQ(client()->cursor().shape(), Qt::ArrowCursor);
    clickTool(1034);
    QTest::mouseMove(client(), QPoint(30, 30));
    EXPECT_EQ(client()->cursor().hotSpot(), QPoint(10, 19));
}

TEST_F(WindowInput, PressesOnButtonsBelongToTheButtons)
{
    loadSprite();
    clickTool(ids::RectangleButton);
    // A right press on Save Sprite, or a right drag from a tool button onto
    // the canvas: no snapshot, nothing drawn.
    QTest::mousePress(control<QPushButton>(ids::SaveSpriteButton), Qt::RightButton);
    QTest::mouseRelease(control<QPushButton>(ids::SaveSpriteButton), Qt::RightButton);
    auto* line = control<QPushButton>(ids::LineButton);
    QTest::mousePress(line, Qt::RightButton);
    const QPoint onCanvas = line->mapFrom(client(), QPoint(30, 30));
    QMouseEvent drag(QEvent::MouseMove, onCanvas, line->mapToGlobal(onCanvas), Qt::NoButton,
                     Qt::RightButton, {});
    QApplication::sendEvent(line, &drag);
    QTest::mouseRelease(line, Qt::RightButton, {}, onCanvas);
    EXPECT_FALSE(window->action(ids::Undo)->isEnabled());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(pixel(x, y), 0) << x << "," << y;
}

TEST_F(WindowInput, ClicksOnNeighbouringPixelsAreNoDoubleClick)
{
    loadSprite();
    QTest::mouseClick(window->control(1004 + 3), Qt::LeftButton);
    auto doubleClick = [&](QPoint p) {
        QMouseEvent e(QEvent::MouseButtonDblClick, p, client()->mapToGlobal(p), Qt::LeftButton,
                      Qt::LeftButton, {});
        QApplication::sendEvent(client(), &e);
        release(Qt::LeftButton, p);
    };
    const QPoint first(2 + 4 * 5 + 1, 2 + 4 * 5 + 1);
    press(Qt::LeftButton, first);
    release(Qt::LeftButton, first);
    doubleClick(first + QPoint(4, 0)); // the next pixel: a press of its own
    EXPECT_EQ(pixel(6, 5), 3);
    // Within 2 screen pixels of the press it is a double click, which the
    // pencil does not draw, even across a pixel's edge.
    const QPoint lastColumnOf6(2 + 4 * 6 + 3, 2 + 4 * 8 + 1);
    press(Qt::LeftButton, lastColumnOf6);
    release(Qt::LeftButton, lastColumnOf6);
    doubleClick(lastColumnOf6 + QPoint(2, 0));
    EXPECT_EQ(pixel(6, 8), 3);
    EXPECT_EQ(pixel(7, 8), 0);
}

TEST_F(WindowInput, ARightPressOnOneSwatchReleasedOverAnotherTakesTheOther)
{
    loadSprite();
    QWidget* pressed = window->control(1004 + 3);
    QWidget* other = window->control(1004 + 12);
    QTest::mousePress(pressed, Qt::RightButton);
    QTest::mouseRelease(pressed, Qt::RightButton, {}, pressed->mapFrom(client(), other->geometry().center()));
    EXPECT_EQ(state->tools.backgroundIndex, 12);
    EXPECT_EQ(control<ColorSwatch>(1003)->color(), colour(12));
    // Released over no swatch: nothing changes.
    QTest::mousePress(pressed, Qt::RightButton);
    QTest::mouseRelease(pressed, Qt::RightButton, {}, pressed->mapFrom(client(), QPoint(100, 100)));
    EXPECT_EQ(state->tools.backgroundIndex, 12);
}

TEST_F(WindowInput, ACanvasPressTakesTheFocusFromTheNumberBoxSoShortcutsWork)
{
    loadSprite();
    KeyRouter router(*state, [this](int id) { window->runCommand(id); }, [this] { window->refreshCursor(); },
                     window.get());
    qApp->installEventFilter(&router);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* number = control<QLineEdit>(ids::SpriteNumberEdit);
    number->setFocus();
    QTest::mouseClick(window->control(1004 + 6), Qt::LeftButton); // a swatch takes the focus too
    EXPECT_NE(QApplication::focusWidget(), number);
    number->setFocus();
    QTest::mouseClick(client(), Qt::LeftButton, {}, QPoint(2 + 4 * 2 + 1, 2 + 4 * 2 + 1));
    EXPECT_EQ(pixel(2, 2), 6);
    ASSERT_NE(QApplication::focusWidget(), number);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pixel(2, 2), 0) << "Ctrl+Z undid the pencil";
    EXPECT_EQ(state->currentSprite, 4);
    qApp->removeEventFilter(&router);
}

TEST_F(WindowInput, RedoAndHistoryGrayLikeUndoAndCtrlYRedoesOnlyWhileEnabled)
{
    EXPECT_FALSE(window->action(ids::Redo)->isEnabled());
    EXPECT_FALSE(window->action(ids::History)->isEnabled());
    loadSprite();
    EXPECT_TRUE(window->action(ids::History)->isEnabled());
    KeyRouter router(*state, [this](int id) { window->runCommand(id); }, [this] { window->refreshCursor(); },
                     window.get());
    qApp->installEventFilter(&router);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::mouseClick(window->control(1004 + 6), Qt::LeftButton);
    QTest::mouseClick(client(), Qt::LeftButton, {}, QPoint(2 + 4 * 2 + 1, 2 + 4 * 2 + 1));
    auto ctrl = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier); };
    ctrl(Qt::Key_Y); // grayed: nothing to redo
    EXPECT_EQ(pixel(2, 2), 6);
    ctrl(Qt::Key_Z);
    EXPECT_EQ(pixel(2, 2), 0);
    EXPECT_TRUE(window->action(ids::Redo)->isEnabled());
    ctrl(Qt::Key_Y);
    EXPECT_EQ(pixel(2, 2), 6) << "Ctrl+Y redid the pencil";
    EXPECT_FALSE(window->action(ids::Redo)->isEnabled());
    ctrl(Qt::Key_Z);
    selectSprite(*state, 5); // another sprite empties Redo with Undo
    EXPECT_FALSE(window->action(ids::Redo)->isEnabled());
    qApp->removeEventFilter(&router);
    window->runCommand(ids::CloseRom);
    EXPECT_FALSE(window->action(ids::History)->isEnabled());
}

TEST_F(WindowInput, JoinedPencilStrokesIsACheckItemKeptInTheSettings)
{
    QAction* item = window->action(ids::JoinedPencilStrokes);
    ASSERT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(state->tools.joinedPencilStrokes);
    loadSprite(); // the recent ROMs are written too, and keep the choice
    window.reset();
    state = std::make_unique<EditorState>();
    openWindow();
    EXPECT_TRUE(window->action(ids::JoinedPencilStrokes)->isChecked());
    EXPECT_TRUE(state->tools.joinedPencilStrokes);
}

TEST_F(WindowInput, ShiftKeepsTheToolsButtonCheckedBesideThePicker)
{
    clickTool(ids::LineButton);
    KeyActions actions{[this](int id) { window->runCommand(id); }, {}};
    shiftPressed(*state, actions);
    EXPECT_TRUE(control<QPushButton>(ids::ColourPickerButton)->isChecked());
    EXPECT_TRUE(control<QPushButton>(ids::LineButton)->isChecked());
    shiftReleased(*state, actions);
    EXPECT_FALSE(control<QPushButton>(ids::ColourPickerButton)->isChecked());
    EXPECT_TRUE(control<QPushButton>(ids::LineButton)->isChecked());
    clickTool(ids::EllipseButton);
    EXPECT_FALSE(control<QPushButton>(ids::LineButton)->isChecked());
}

TEST_F(WindowInput, TheToolsCursorStaysUntilTheRelease)
{
    loadSprite();
    QTest::mouseMove(client(), QPoint(20, 20));
    press(Qt::LeftButton, QPoint(20, 20));
    moveHeld(Qt::LeftButton, QPoint(300, 200)); // off the 16 x 16 sprite
    EXPECT_EQ(client()->cursor().shape(), Qt::BitmapCursor);
    release(Qt::LeftButton, QPoint(300, 200));
    moveHeld(Qt::NoButton, QPoint(301, 200));
    EXPECT_EQ(client()->cursor().shape(), Qt::ArrowCursor);
}

} // namespace
} // namespace tessel::testing
