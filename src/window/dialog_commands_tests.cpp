// The palette editor, the sprite information dialog and the sprite browser
// as the main window opens and follows them.
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "window/window_test_fixture.h"
#include "browser/sprite_browser.h"
#include "model/command_ids.h"
#include "widgets/color_swatch.h"

namespace tessel::testing {
namespace {

class DialogCommands : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        prompts.nextPath = makeRomFile("dialogs.smc");
        window->runCommand(ids::OpenRom);
        ASSERT_TRUE(state->romOpen());
    }
    // Runs a command that opens a modal dialog and closes the dialog as
    // soon as it is shown; returns the dialog's class name.
    QString runAndClose(int id)
    {
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                shown = modal->metaObject()->className();
                modal->close();
            }
        });
        window->runCommand(id);
        return shown;
    }
    SpriteBrowser* browser() const { return window->findChild<SpriteBrowser*>(); }
};

TEST_F(DialogCommands, ClosingThePaletteEditorShowsAppliedColoursAndResetsUndo)
{
    const int p = state->current().paletteIndex;
    state->document.displayPalettes[p].red[3] = 200; // as an applied palette leaves it
    state->document.displayPalettes[p].green[3] = 100;
    state->document.displayPalettes[p].blue[3] = 50;
    state->current().pixels[0] = 3;
    window->runCommand(ids::PencilButton);
    QTest::mouseClick(window->clientArea(), Qt::LeftButton, {}, QPoint(30, 30));
    ASSERT_TRUE(window->action(ids::Undo)->isEnabled());

    EXPECT_EQ(runAndClose(ids::PaletteEditor), "tessel::PaletteEditorDialog");
    EXPECT_EQ(control<ColorSwatch>(1004 + 3)->color(), QColor(200, 100, 50));
    EXPECT_EQ(paintedClient().pixel(3, 3), qRgb(200, 100, 50));
    EXPECT_FALSE(window->action(ids::Undo)->isEnabled());
}

TEST_F(DialogCommands, SpriteInformationOpensModally)
{
    EXPECT_EQ(runAndClose(ids::ViewSpriteInfo), "tessel::SpriteInfoDialog");
    EXPECT_EQ(runAndClose(ids::About), "tessel::AboutDialog");
}

TEST_F(DialogCommands, TheBrowserChoosesASpriteAndHidesWhenTheWindowMovesOrIsPressed)
{
    ASSERT_NE(browser(), nullptr);
    EXPECT_FALSE(browser()->isVisible());
    QTest::mouseClick(window->control(ids::BrowserButton), Qt::LeftButton);
    EXPECT_TRUE(browser()->isVisible());
    emit browser()->spriteChosen(37);
    EXPECT_EQ(state->currentSprite, 37);
    EXPECT_EQ(control<QLineEdit>(1030)->text(), "37");

    window->runCommand(ids::BrowserButton);
    ASSERT_TRUE(browser()->isVisible());
    window->move(window->pos() + QPoint(15, 10));
    QApplication::processEvents();
    EXPECT_FALSE(browser()->isVisible());

    window->runCommand(ids::BrowserButton);
    ASSERT_TRUE(browser()->isVisible());
    QTest::mousePress(window->clientArea(), Qt::LeftButton, {}, QPoint(500, 300));
    EXPECT_FALSE(browser()->isVisible());
    QTest::mouseRelease(window->clientArea(), Qt::LeftButton, {}, QPoint(500, 300));
}

TEST_F(DialogCommands, CloseRomHidesTheBrowser)
{
    window->runCommand(ids::BrowserButton);
    ASSERT_TRUE(browser()->isVisible());
    window->runCommand(ids::CloseRom);
    EXPECT_FALSE(browser()->isVisible());
}

} // namespace
} // namespace tessel::testing
