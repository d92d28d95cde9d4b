#include "editor/tools_test_fixture.h"
#include "tools/colours.h"

namespace tessel {
namespace {

struct Picker : ToolsFixture {
    void SetUp() override
    {
        ToolsFixture::SetUp();
        state->tools.currentTool = ToolId::ColourPicker;
        // Indices 3 and 9 share a colour; the picker must tell them apart.
        setColour(9, colourOf(state->currentDisplayPalette, 3));
        px(1, 1) = 0x39;
        px(2, 1) = 3;
        px(3, 1) = 7;
    }
};

TEST_F(Picker, ReadsIndicesNotColours)
{
    onLeftButtonDown(*state, client(1, 1));
    EXPECT_EQ(state->tools.foregroundIndex, 9);
    ASSERT_FALSE(view.indicators.empty());
    EXPECT_EQ(view.indicators.back(), std::make_pair(0, colourOf(state->currentDisplayPalette, 9)));
    // A drag picks continuously; leaving the sprite keeps the last index.
    onMouseMove(*state, client(2, 1));
    EXPECT_EQ(state->tools.foregroundIndex, 3);
    onMouseMove(*state, client(W, 1));
    onMouseMove(*state, {-3, 6});
    EXPECT_EQ(state->tools.foregroundIndex, 3);
    onLeftButtonUp(*state);
    onMouseMove(*state, client(3, 1)); // no button held: nothing
    EXPECT_EQ(state->tools.foregroundIndex, 3);
    // The press took a snapshot without changing a pixel.
    EXPECT_TRUE(state->window.commands.isEnabled(ids::Undo));
}

TEST_F(Picker, RightButtonPicksTheBackground)
{
    onRightButtonDown(*state, client(3, 1));
    EXPECT_EQ(state->tools.backgroundIndex, 7);
    onMouseMove(*state, client(1, 1));
    EXPECT_EQ(state->tools.backgroundIndex, 9);
    EXPECT_EQ(state->tools.foregroundIndex, 4);
    EXPECT_EQ(view.indicators.back().first, 1);
}

} // namespace
} // namespace tessel
