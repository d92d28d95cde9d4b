// The Sprite Overview in the real program: Ctrl+F opens it with the keys in
// its filter, a number typed there and Enter make that sprite current, and
// a click on the main canvas then Ctrl+S land in that sprite's tiles.
#include "e2e/e2e_fixture.h"

namespace tessel::e2e {
namespace {

using OverviewSession = EndToEnd;

TEST_F(OverviewSession, ANumberTypedInTheFilterAndEnterChooseTheSpriteThatIsThenSaved)
{
    const EditorWindow& editor = startEditor({romPath_});
    ASSERT_EQ(waitForSprite(editor, SpriteModel::fromRom(0), DisplayColours::ofPalette(5)), "") << editor.log();

    desktop_->focus(editor.window());
    desktop_->key("ctrl+f");
    desktop_->waitForWindow("^Sprites");
    desktop_->type("17");
    desktop_->key("Return");
    SpriteModel sprite = SpriteModel::fromRom(17);
    const DisplayColours colours = DisplayColours::ofPalette(sprite.palette);
    ASSERT_EQ(waitForSprite(editor, sprite, colours), "") << "sprite 17 chosen in the overview";

    const int foreground = 9;
    desktop_->click(editor.control(layout::swatch(foreground)));
    desktop_->click(editor.onSprite(5, 7));
    sprite.set(5, 7, foreground);
    ASSERT_EQ(waitForSprite(editor, sprite, colours), "") << "the pencil's pixel";
    desktop_->focus(editor.window());
    desktop_->key("ctrl+s");
    std::vector<std::uint8_t> expected = original_;
    encodeSprite(sprite, expected);
    EXPECT_EQ(waitForFile(expected), "") << "sprite 17's tiles saved";
}

} // namespace
} // namespace tessel::e2e
