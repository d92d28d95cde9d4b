#include <climits>

#include "editor/tools_test_fixture.h"
#include "raster/closed_figures.h"
#include "raster/line.h"
#include "tools/drawing_tools.h"
#include "tools/undo.h"

namespace tessel {
namespace {

struct Shapes : ToolsFixture {
    // The original sprite with the one-pixel ring of box [l, r) x [t, b) in
    // `pen` and the pixels inside it in `brush` (-1: unchanged).
    PixelBuffer withBox(int l, int t, int r, int b, int pen, int brush) const
    {
        PixelBuffer p = originalPixels();
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) {
                const bool ring = x == l || x == r - 1 || y == t || y == b - 1;
                if (ring || brush >= 0)
                    p[y * 64 + x] = static_cast<std::uint8_t>(ring ? pen : brush);
            }
        return p;
    }
};

TEST_F(Shapes, FillModesWithBothButtons)
{
    state->tools.currentTool = ToolId::Rectangle;
    struct Case {
        FillMode mode;
        bool left;
        int pen, brush;
    } cases[] = {
        {FillMode::Opaque, true, 4, 4},       {FillMode::Opaque, false, 11, 11},
        {FillMode::Transparent, true, 4, -1}, {FillMode::Transparent, false, 11, -1},
        {FillMode::Background, true, 4, 11},  {FillMode::Background, false, 11, 4},
    };
    for (const Case& c : cases) {
        state->current().pixels = originalPixels();
        state->tools.fillMode = c.mode;
        // Corners given bottom-right first: the box is normalised.
        if (c.left)
            leftDrag(client(8, 7), client(2, 2));
        else
            rightDrag(client(8, 7), client(2, 2));
        EXPECT_EQ(state->current().pixels, withBox(2, 2, 8, 7, c.pen, c.brush))
            << int(c.mode) << " left " << c.left;
    }
}

TEST_F(Shapes, DuplicatePaletteColoursKeepEveryOtherIndex)
{
    // Entries 3 and 9 look the same; a figure drawn with 9 stays 9 and the
    // 9s elsewhere in the sprite stay 9.
    setColour(9, Rgb{48, 176, 7});
    setColour(3, Rgb{48, 176, 7});
    px(20, 12) = 9;
    px(1, 14) = 0x39; // high bits kept as well
    state->tools.foregroundIndex = 9;
    for (ToolId tool :
         {ToolId::Line, ToolId::Rectangle, ToolId::Ellipse, ToolId::RoundedRectangle}) {
        state->tools.currentTool = tool;
        leftDrag(client(4, 4), client(10, 9));
        EXPECT_EQ(px(20, 12), 9);
        EXPECT_EQ(px(1, 14), 0x39);
        EXPECT_EQ(px(4, 4), 9) << int(tool) << " draws with 9, not 3";
    }
}

TEST_F(Shapes, EveryDragStepStartsAgainFromTheBackup)
{
    state->tools.currentTool = ToolId::Ellipse;
    state->tools.fillMode = FillMode::Background;
    view.lineSizeText = 3;
    onLeftButtonDown(*state, client(1, 1));
    onMouseMove(*state, client(23, 15));
    onMouseMove(*state, client(6, 5));
    onLeftButtonUp(*state);
    // The same figure drawn in one step from the untouched sprite.
    PixelBuffer expected = originalPixels();
    const FigureCoverage f = ellipseCoverage({1, 1}, {6, 5}, 3);
    forEachPixel(f.interior, [&](int x, int y) { expected[y * 64 + x] = 11; });
    forEachPixel(f.outline, [&](int x, int y) { expected[y * 64 + x] = 4; });
    EXPECT_EQ(state->current().pixels, expected);
    EXPECT_EQ(undoLevels(), 1);
}

TEST_F(Shapes, EachFigureToolDrawsItsOwnFigureWithPenAndBrush)
{
    state->tools.fillMode = FillMode::Background;
    view.lineSizeText = 3;
    view.curveRadiusText = 6;
    const Point a{2, 1}, b{20, 14};
    const struct {
        ToolId tool;
        FigureCoverage covered;
    } cases[] = {{ToolId::Line, {lineCoverage(a, b, 3), {}}},
                 {ToolId::Rectangle, rectangleCoverage(a, b, 3)},
                 {ToolId::Ellipse, ellipseCoverage(a, b, 3)},
                 {ToolId::RoundedRectangle, roundRectCoverage(a, b, 3, 6, 6)}};
    for (const auto& c : cases) {
        state->current().pixels = originalPixels();
        state->tools.currentTool = c.tool;
        rightDrag(client(a.x, a.y), client(b.x, b.y)); // pen 11, brush 4
        PixelBuffer expected = originalPixels();
        forEachPixel(c.covered.interior, [&](int x, int y) { expected[y * 64 + x] = 4; });
        forEachPixel(c.covered.outline, [&](int x, int y) { expected[y * 64 + x] = 11; });
        EXPECT_EQ(state->current().pixels, expected) << int(c.tool);
    }
}

TEST_F(Shapes, LineDraggedPastTheRightEdgeStopsThere)
{
    state->tools.currentTool = ToolId::Line;
    leftDrag(client(0, 5), client(40, 5));
    PixelBuffer expected = originalPixels();
    for (int x = 0; x < W; ++x) expected[5 * 64 + x] = 4;
    EXPECT_EQ(state->current().pixels, expected);
}

TEST_F(Shapes, WidePensAreClippedToTheSprite)
{
    state->tools.currentTool = ToolId::Rectangle;
    state->tools.fillMode = FillMode::Transparent;
    view.lineSizeText = 9;
    leftDrag(client(0, 0), client(W - 1, H - 1));
    const PixelBuffer& p = state->current().pixels;
    const PixelBuffer original = originalPixels();
    for (int y = 0; y < kBufferHeight; ++y)
        for (int x = 0; x < kBufferWidth; ++x) {
            const int i = y * 64 + x;
            if (x >= W || y >= H) {
                EXPECT_EQ(p[i], original[i]) << x << "," << y;
            } else {
                // The pen reaches 4 pixels inside the ring of [0, 23) x [0, 15).
                const bool band = x <= 4 || y <= 4 || x >= 18 || y >= 10;
                EXPECT_EQ(p[i], band ? 4 : original[i]) << x << "," << y;
            }
        }
}

TEST_F(Shapes, OptionsAreReadWhenTheySay)
{
    state->tools.currentTool = ToolId::RoundedRectangle;
    state->tools.fillMode = FillMode::Transparent;
    view.lineSizeText = 1;
    onLeftButtonDown(*state, client(0, 0));
    view.lineSizeText = 7; // too late for this drag
    view.curveRadiusText = 0;
    onMouseMove(*state, client(12, 12));
    EXPECT_EQ(px(0, 0), 4);    // square corner
    EXPECT_NE(px(3, 3), 4);    // one-pixel pen
    view.curveRadiusText = 12; // read at every step
    onMouseMove(*state, client(12, 12));
    EXPECT_NE(px(0, 0), 4);
    EXPECT_EQ(view.lineSizeReads, 1);
    EXPECT_EQ(view.curveRadiusReads, 2);
}

TEST_F(Shapes, TypedExtremesDrawInBoundedTime)
{
    state->tools.fillMode = FillMode::Transparent;
    struct Case {
        ToolId tool;
        int lineSize, radius;
    } cases[] = {{ToolId::Line, INT_MAX, 5},
                 {ToolId::Rectangle, 50, 5},
                 {ToolId::Ellipse, INT_MAX, 5},
                 {ToolId::RoundedRectangle, INT_MAX, INT_MAX},
                 {ToolId::RoundedRectangle, 1, INT_MAX}};
    for (const Case& c : cases) {
        state->current().pixels = originalPixels();
        state->tools.currentTool = c.tool;
        view.lineSizeText = c.lineSize;
        view.curveRadiusText = c.radius;
        leftDrag(client(3, 3), client(9, 9));
        int drawn = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) drawn += px(x, y) == 4;
        if (c.lineSize >= 50) {
            EXPECT_EQ(drawn, W * H) << int(c.tool) << " covers the sprite";
        }
        EXPECT_EQ(px(W, 0), originalPixels()[W]);
    }
    // Negative widths draw like 0 and 1.
    state->tools.currentTool = ToolId::Line;
    for (int w : {-7, 0, 1}) {
        state->current().pixels = originalPixels();
        view.lineSizeText = w;
        leftDrag(client(0, 0), client(5, 5));
        EXPECT_EQ(px(4, 4), 4);
        EXPECT_NE(px(4, 3), 4) << w;
        EXPECT_NE(px(5, 5), 4) << w;
    }
}

} // namespace
} // namespace tessel
