// The Large View in the window: zoom limits and keys, the pointer mapped to
// sprite pixels, both views painted by one edit, its settings and the menu.
#include <QAction>
#include <QSettings>
#include <QTest>

#include "views/large_view_window.h"
#include "window/recent_roms.h"
#include "window/window_test_fixture.h"
#include "editor/sprite_selection.h"
#include "model/command_ids.h"

namespace tessel::testing {
namespace {

class LargeViewUi : public WindowTest {
protected:
    // A ROM open; sprite 4 made 16 x 16 of index 0, colour i = (i, 10 i, 255 - i).
    void openSprite()
    {
        prompts.nextPath = makeRomFile("large.smc");
        window->runCommand(ids::OpenRom);
        ASSERT_TRUE(state->romOpen());
        SpriteRecord& r = state->document.spriteStore[4];
        r.widthTiles = r.heightTiles = 2;
        r.paletteIndex = 6;
        r.pixels.fill(0);
        for (int i = 0; i < 16; ++i) {
            state->document.displayPalettes[6].red[i] = i;
            state->document.displayPalettes[6].green[i] = 10 * i;
            state->document.displayPalettes[6].blue[i] = 255 - i;
        }
        selectSprite(*state, 4);
        state->tools.foregroundIndex = 9;
        window->runCommand(ids::LargeView);
        view()->resize(600, 500);
        QApplication::processEvents();
    }
    LargeViewWindow* view() const { return window->largeView(); }
    QWidget* canvas() const { return view()->canvas(); }
    int pixel(int x, int y) const { return state->document.spriteStore[4].pixels[y * 64 + x] & 15; }
    // The view point of column x, `dx` into it, of the 16 x 16 sprite at zoom z.
    int viewX(int z, int x, int dx) const { return (canvas()->width() - 16 * z) / 2 + z * x + dx; }
    int viewY(int z, int y, int dy) const { return (canvas()->height() - 16 * z) / 2 + z * y + dy; }
    void key(int k) { QTest::keyClick(canvas(), Qt::Key(k), Qt::ControlModifier); }
};

TEST_F(LargeViewUi, ZoomStaysWithinItsLimitsByKeysWheelAndBox)
{
    openSprite();
    ASSERT_TRUE(view()->isVisible());
    EXPECT_TRUE(view()->windowTitle().startsWith("Large View"));
    const int fit = std::min({32, canvas()->width() / 16, canvas()->height() / 16});
    EXPECT_EQ(view()->shownZoom(), fit);
    view()->setZoom(40);
    EXPECT_EQ(view()->shownZoom(), 32);
    key(Qt::Key_Plus);
    EXPECT_EQ(view()->shownZoom(), 32);
    view()->setZoom(1);
    key(Qt::Key_Minus);
    EXPECT_EQ(view()->shownZoom(), 1);
    key(Qt::Key_Equal);
    EXPECT_EQ(view()->shownZoom(), 2);
    QWheelEvent up(QPointF(5, 5), canvas()->mapToGlobal(QPointF(5, 5)), {}, {0, 240}, Qt::NoButton,
                   Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas(), &up);
    EXPECT_EQ(view()->shownZoom(), 4);
    key(Qt::Key_0);
    EXPECT_EQ(view()->chosenZoom(), 0);
    EXPECT_EQ(view()->shownZoom(), fit);
}

TEST_F(LargeViewUi, APressLandsOnThePixelUnderItAndBothViewsShowIt)
{
    openSprite();
    for (int z : {5, 13}) {
        view()->setZoom(z);
        // The first and the last view column of pixel (3, 7), then one left
        // of the sprite, which is no pixel.
        QTest::mouseClick(canvas(), Qt::LeftButton, {}, {viewX(z, 3, 0), viewY(z, 7, z - 1)});
        EXPECT_EQ(pixel(3, 7), 9) << z;
        QTest::mouseClick(canvas(), Qt::LeftButton, {}, {viewX(z, 5, z - 1), viewY(z, 2, 0)});
        EXPECT_EQ(pixel(5, 2), 9) << z;
        EXPECT_EQ(pixel(6, 2) + pixel(5, 3) + pixel(4, 2), 0) << z;
        const PixelBuffer before = state->current().pixels;
        QTest::mouseClick(canvas(), Qt::LeftButton, {}, {viewX(z, 0, -1), viewY(z, 0, 0)});
        EXPECT_EQ(state->current().pixels, before) << z;
        // Painted synchronously: no event loop between the edit and these.
        QTest::mouseClick(canvas(), Qt::LeftButton, {}, {viewX(z, 10, 1), viewY(z, 12, 1)});
        EXPECT_EQ(view()->canvas()->image().pixel(viewX(z, 10, 2), viewY(z, 12, 2)), qRgb(9, 90, 246));
        EXPECT_EQ(window->workSurface().pixel(10, 12), qRgb(9, 90, 246));
        state->current().pixels.fill(0);
    }
    EXPECT_EQ(view()->statusText().left(9), "Sprite 4:");
}

TEST_F(LargeViewUi, GridsZoomAndPlaceSurviveARestartAndTheRecentRoms)
{
    openSprite();
    view()->setZoom(7);
    window->runCommand(ids::PixelGrid);
    EXPECT_FALSE(view()->pixelGrid());
    EXPECT_FALSE(window->action(ids::PixelGrid)->isChecked());
    EXPECT_TRUE(window->action(ids::TileGrid)->isChecked());
    view()->hide();
    window->recentRomsMenu()->add("/roms/other.smc"); // rewrites the recent list in the same file
    LargeViewWindow again(*state, nullptr, recentRomsFile(), nullptr);
    EXPECT_EQ(again.chosenZoom(), 7);
    EXPECT_FALSE(again.pixelGrid());
    EXPECT_TRUE(again.tileGrid());
    EXPECT_EQ(again.size(), QSize(600, 500));
    window->runCommand(ids::LargeView);
    window->runCommand(ids::CloseRom);
    EXPECT_FALSE(view()->isVisible());
    EXPECT_FALSE(window->action(ids::LargeView)->isEnabled());
}

} // namespace
} // namespace tessel::testing
