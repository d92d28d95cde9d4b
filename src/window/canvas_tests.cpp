// The canvas and the preview, read back from the painted client area.
#include "window/window_test_fixture.h"
#include "editor/sprite_selection.h"

namespace tessel::testing {
namespace {

class Canvas : public WindowTest {
protected:
    // Sprite n of w x h tiles in palette p, where colour i of palette p is
    // (16 * i + p, 255 - 16 * i, 3 * i): all sixteen differ.
    void defineSprite(int n, int wTiles, int hTiles, int p)
    {
        SpriteRecord& r = state->document.spriteStore[n];
        r.widthTiles = wTiles;
        r.heightTiles = hTiles;
        r.paletteIndex = p;
        for (int i = 0; i < 16; ++i) {
            state->document.displayPalettes[p].red[i] = 16 * i + p;
            state->document.displayPalettes[p].green[i] = 255 - 16 * i;
            state->document.displayPalettes[p].blue[i] = 3 * i;
        }
    }
    static QRgb colour(int i, int p) { return qRgb(16 * i + p, 255 - 16 * i, 3 * i); }
    // The magnified pixel (x, y) as painted: the middle of its 4 x 4 block.
    static QRgb canvasPixel(const QImage& img, int x, int y)
    {
        return img.pixel(2 + 4 * x + 1, 2 + 4 * y + 2);
    }

    static constexpr QRgb kGrey = 0xFF7F7F7F;
    static constexpr QRgb kBlack = 0xFF000000;
};

TEST_F(Canvas, WithNoRomTheCanvasIsGreyAndThePreviewBlack)
{
    const QImage img = paintedClient();
    for (QPoint p : {QPoint(2, 2), QPoint(200, 150), QPoint(257, 321), QPoint(400, 320)})
        EXPECT_EQ(img.pixel(p), kGrey) << p.x() << "," << p.y();
    for (int y = 0; y < 80; ++y)
        for (int x = 450; x < 514; ++x) ASSERT_EQ(img.pixel(x, y), kBlack) << x << "," << y;
}

TEST_F(Canvas, SpritePixelsAreMagnifiedFourTimesInTheirPalette)
{
    defineSprite(7, 2, 3, 4);
    auto& px = state->document.spriteStore[7].pixels;
    px[0] = 1;
    px[15] = 2;                // (15, 0)
    px[23 * 64 + 0] = 3;       // (0, 23)
    px[10 * 64 + 5] = 0x3C;    // high bits are not part of the index: 12
    selectSprite(*state, 7);
    const QImage img = paintedClient();
    EXPECT_EQ(canvasPixel(img, 0, 0), colour(1, 4));
    EXPECT_EQ(canvasPixel(img, 15, 0), colour(2, 4));
    EXPECT_EQ(canvasPixel(img, 0, 23), colour(3, 4));
    EXPECT_EQ(canvasPixel(img, 5, 10), colour(12, 4));
    EXPECT_EQ(canvasPixel(img, 1, 1), colour(0, 4));
    // Every screen pixel of a block, and nothing beyond the sprite.
    for (int dy = 0; dy < 4; ++dy)
        for (int dx = 0; dx < 4; ++dx) EXPECT_EQ(img.pixel(2 + dx, 2 + dy), colour(1, 4));
    EXPECT_EQ(img.pixel(2 + 4 * 16, 10), kGrey);     // column 16 is outside
    EXPECT_EQ(img.pixel(10, 2 + 4 * 24), kGrey);     // row 24 is outside
    EXPECT_EQ(window->workSurface().pixel(5, 10), colour(12, 4));
    EXPECT_EQ(window->workSurface().pixel(16, 0), kGrey);
}

TEST_F(Canvas, PreviewCentresASmallSpriteOnBlack)
{
    defineSprite(3, 2, 1, 9); // 16 x 8 pixels
    state->document.spriteStore[3].pixels.fill(5);
    selectSprite(*state, 3);
    const QImage img = paintedClient();
    // Drawn at client (474, 36) to (490, 44), excluded ends.
    for (int y = 0; y < 80; ++y) {
        for (int x = 450; x < 514; ++x) {
            const bool inside = x >= 474 && x < 490 && y >= 36 && y < 44;
            ASSERT_EQ(img.pixel(x, y), inside ? colour(5, 9) : kBlack) << x << "," << y;
        }
    }
}

TEST_F(Canvas, PreviewOfAFullSizeSpriteFillsTheBox)
{
    defineSprite(0, 8, 10, 0);
    auto& px = state->document.spriteStore[0].pixels;
    for (int i = 0; i < kBufferSize; ++i) px[i] = (i / 64 + i % 64) % 16;
    selectSprite(*state, 0);
    const QImage img = paintedClient();
    for (QPoint p : {QPoint(0, 0), QPoint(63, 0), QPoint(0, 79), QPoint(63, 79), QPoint(20, 30)})
        EXPECT_EQ(img.pixel(450 + p.x(), p.y()), colour((p.x() + p.y()) % 16, 0));
}

TEST_F(Canvas, SelectionOutlineIsDottedWhiteOnItsFirstRowsAndColumnsOnly)
{
    defineSprite(1, 4, 4, 2);
    state->document.spriteStore[1].pixels.fill(6);
    selectSprite(*state, 1);
    state->selection.selectionRect = Rect{2, 3, 6, 8};
    window->repaintCanvas();
    const QImage img = paintedClient();
    // From (2*4+2, 3*4+2) = (10, 14) to (6*4+2, 8*4+2) = (26, 34), the last
    // row and column excluded: the outline is on rows 14 and 33 and on
    // columns 10 and 25.
    int whiteTop = 0, whiteLeft = 0;
    for (int x = 10; x <= 25; ++x) {
        const QRgb c = img.pixel(x, 14);
        EXPECT_TRUE(c == qRgb(255, 255, 255) || c == kGrey) << x;
        whiteTop += c == qRgb(255, 255, 255);
        EXPECT_NE(img.pixel(x, 33), colour(6, 2)) << x;
        EXPECT_EQ(img.pixel(x, 34), colour(6, 2)) << x;
    }
    for (int y = 14; y <= 33; ++y) {
        whiteLeft += img.pixel(10, y) == qRgb(255, 255, 255);
        EXPECT_NE(img.pixel(25, y), colour(6, 2)) << y;
        EXPECT_EQ(img.pixel(26, y), colour(6, 2)) << y;
    }
    EXPECT_GE(whiteTop, 4);  // dotted: some white, some gaps
    EXPECT_LT(whiteTop, 16);
    EXPECT_GE(whiteLeft, 5);
    EXPECT_EQ(img.pixel(11, 15), colour(6, 2)); // inside stays the sprite
}

TEST_F(Canvas, OutlineHangingOverTheEdgeIsClippedAndEmptyDrawsNothing)
{
    defineSprite(1, 1, 1, 2);
    selectSprite(*state, 1);
    const QImage before = paintedClient();
    state->selection.selectionRect = Rect{0, 0, 0, 0};
    window->repaintCanvas();
    EXPECT_EQ(paintedClient(), before);
    state->selection.selectionRect = Rect{-5, -5, 200, 200};
    window->repaintCanvas(); // must not write outside the canvas
    const QImage img = paintedClient();
    EXPECT_EQ(img.pixel(40, 40), before.pixel(40, 40));
    for (int x = 450; x < 514; ++x) EXPECT_NE(img.pixel(x, 79), qRgb(255, 255, 255));
}

TEST_F(Canvas, AnotherPaletteShowsAtOnceInCanvasPreviewAndSwatches)
{
    defineSprite(1, 1, 1, 2);
    defineSprite(2, 1, 1, 3);
    state->document.spriteStore[2].pixels.fill(7);
    selectSprite(*state, 1);
    selectSprite(*state, 2);
    const QImage img = paintedClient();
    EXPECT_EQ(canvasPixel(img, 0, 0), colour(7, 3));
    EXPECT_EQ(img.pixel(450 + 28, 36), colour(7, 3));
    for (int i = 0; i < 16; ++i) {
        const QImage swatch = window->control(1004 + i)->grab().toImage();
        EXPECT_EQ(swatch.pixel(10, 7), colour(i, 3)) << i;
    }
}

TEST_F(Canvas, NoSpriteAfterASpriteShowsGreyAgain)
{
    defineSprite(1, 2, 2, 2);
    selectSprite(*state, 1);
    selectSprite(*state, -1);
    const QImage img = paintedClient();
    EXPECT_EQ(canvasPixel(img, 0, 0), kGrey);
    EXPECT_EQ(img.pixel(482, 40), kBlack);
}

} // namespace
} // namespace tessel::testing
