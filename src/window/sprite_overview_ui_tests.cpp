// The Sprite Overview in the window: the keyboard cursor, Enter choosing
// the sprite, a filter that cannot be read, Go to Sprite, Close ROM.
#include <QAction>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include "views/sprite_overview_grid.h"
#include "views/sprite_overview_window.h"
#include "window/window_test_fixture.h"
#include "model/command_ids.h"
#include "model/edit_marks.h"
#include "widgets/settings_file.h"

namespace tessel::testing {
namespace {

class SpriteOverviewUi : public WindowTest {
protected:
    void openOverview()
    {
        prompts.nextPath = makeRomFile("overview.smc");
        window->runCommand(ids::OpenRom);
        ASSERT_TRUE(state->romOpen());
        window->runCommand(ids::SpriteOverview);
        overview()->resize(500, 400);
        QApplication::processEvents();
        ASSERT_TRUE(overview()->isVisible());
    }
    SpriteOverviewWindow* overview() const { return window->spriteOverview(); }
    SpriteOverviewGrid* grid() const { return overview()->grid(); }
    void key(Qt::Key k) { QTest::keyClick(grid(), k); }
};

TEST_F(SpriteOverviewUi, KeysMoveTheCursorAndEnterChoosesItsSprite)
{
    openOverview();
    EXPECT_EQ(overview()->windowTitle(), QString::fromUtf8("Sprites \u2014 1144 of 1144"));
    EXPECT_EQ(grid()->cursorSprite(), 0);
    const int columns = grid()->layout().columns();
    const int rowsInSight = grid()->viewport()->height() / grid()->layout().cellHeight();
    ASSERT_GT(columns, 1);
    ASSERT_GT(rowsInSight, 0);
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    EXPECT_EQ(grid()->cursorSprite(), 1 + columns);
    key(Qt::Key_Left);
    key(Qt::Key_Up);
    key(Qt::Key_Up); // stays in the first row
    EXPECT_EQ(grid()->cursorSprite(), 0);
    key(Qt::Key_PageDown);
    EXPECT_EQ(grid()->cursorSprite(), rowsInSight * columns);
    key(Qt::Key_End);
    EXPECT_EQ(grid()->cursorSprite(), 1143);
    // The last cell was scrolled into sight.
    EXPECT_GT(grid()->verticalScrollBar()->value(), 0);
    key(Qt::Key_Home);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Return);
    EXPECT_EQ(state->currentSprite, 2);
    EXPECT_EQ(control<QLineEdit>(ids::SpriteNumberEdit)->text(), "2");

    // Typed into the filter, then Enter there: the one sprite left.
    overview()->filterBox()->clear();
    QTest::keyClicks(overview()->filterBox(), "17");
    EXPECT_EQ(grid()->sprites(), std::vector<int>{17});
    QTest::keyClick(overview()->filterBox(), Qt::Key_Return);
    EXPECT_EQ(state->currentSprite, 17);
    EXPECT_TRUE(overview()->windowTitle().startsWith(QString::fromUtf8("Sprites \u2014 1 of 1144")));

    // A term that cannot be read is named; the grid keeps what it showed.
    overview()->setFilterText("17 p40");
    EXPECT_TRUE(overview()->problemText().contains("p40"));
    EXPECT_EQ(grid()->sprites(), std::vector<int>{17});
    overview()->setFilterText("edited");
    EXPECT_FALSE(overview()->problemText().isEmpty()); // nothing edited yet
    markSpriteEdited(state->document, 40);
    EXPECT_EQ(grid()->sprites(), std::vector<int>{40});
    EXPECT_TRUE(overview()->problemText().isEmpty());
}

TEST_F(SpriteOverviewUi, GoToSpriteSelectsTheNumberAndCloseRomHidesTheOverview)
{
    openOverview();
    overview()->setScale(2);
    window->runCommand(ids::GoToSprite);
    auto* number = control<QLineEdit>(ids::SpriteNumberEdit);
    EXPECT_EQ(window->focusWidget(), number);
    EXPECT_EQ(number->selectedText(), "0");
    window->runCommand(ids::CloseRom);
    EXPECT_FALSE(overview()->isVisible());
    EXPECT_FALSE(window->action(ids::SpriteOverview)->isEnabled());
    EXPECT_FALSE(window->action(ids::GoToSprite)->isEnabled());
    SpriteOverviewWindow again(*state, settingsFilePath(), nullptr);
    EXPECT_EQ(again.scale(), 2);
    EXPECT_EQ(again.size(), QSize(500, 400));
}

} // namespace
} // namespace tessel::testing
