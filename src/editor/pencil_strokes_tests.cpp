#include <set>
#include <utility>

#include "editor/tools_test_fixture.h"

namespace tessel {
namespace {

using PencilStrokes = ToolsFixture;

// A press at (1, 1), then moves to (7, 4), (7, 9), past the right edge to
// (30, 9) and back to (20, 12).
void stroke(ToolsFixture& t)
{
    onLeftButtonDown(*t.state, ToolsFixture::client(1, 1));
    for (Point p : {Point{7, 4}, Point{7, 9}, Point{30, 9}, Point{20, 12}}) onMouseMove(*t.state, ToolsFixture::client(p.x, p.y));
    onLeftButtonUp(*t.state);
}

TEST_F(PencilStrokes, JoinedMovesCoverTheLinesWithBothEndsAndNothingElse)
{
    struct Case {
        bool joined;
        std::set<std::pair<int, int>> painted;
    };
    std::set<std::pair<int, int>> joined = {// (1,1)-(7,4): one per column, ties away from the start
                                            {1, 1}, {2, 2}, {3, 2}, {4, 3}, {5, 3}, {6, 4}, {7, 4},
                                            // (7,4)-(7,9)
                                            {7, 5}, {7, 6}, {7, 7}, {7, 8}, {7, 9}};
    for (int x = 8; x < W; ++x) joined.insert({x, 9}); // (7,9)-(30,9), cut at the sprite's edge
    joined.insert({{23, 11}, {22, 11}, {21, 12}, {20, 12}}); // the part of (30,9)-(20,12) on it
    const Case cases[] = {{false, {{1, 1}, {7, 4}, {7, 9}, {20, 12}}}, {true, joined}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.joined);
        state->current().pixels = originalPixels();
        state->tools.joinedPencilStrokes = c.joined;
        stroke(*this);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool painted = c.painted.count({x, y}) != 0;
                ASSERT_EQ(px(x, y), painted ? 4 : originalPixels()[y * 64 + x]) << x << "," << y;
            }
    }
}

} // namespace
} // namespace tessel
