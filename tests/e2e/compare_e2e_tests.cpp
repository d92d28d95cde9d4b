// File > Compare With in the real program: a copy of the ROM with three
// sprites changed, chosen in the file dialog, gives exactly those three, as
// the other ROM's window title tells for the current sprite, and the
// overview's "differs" filter shows those three.
#include "e2e/e2e_fixture.h"

#include <algorithm>

#include "rom/sprite_catalogue.h"
#include "support/scratch_file.h"

namespace tessel::e2e {
namespace {

using CompareWith = EndToEnd;

constexpr int kChanged[] = {18, 400, 1100};

TEST_F(CompareWith, ACopyWithThreeSpritesChangedListsExactlyThoseThree)
{
    std::vector<std::uint8_t> copy = original_;
    for (int sprite : kChanged) copy[spriteCatalogue()[sprite].romOffset + 7] ^= 0x3C;
    const std::string copyPath = server_->scratchDirectory() + "/teammate.smc";
    {
        testing::ScratchFile written;
        written.write(copy);
        ASSERT_EQ(std::rename(written.path().c_str(), copyPath.c_str()), 0);
    }
    const EditorWindow& editor = startEditor({romPath_});
    ASSERT_EQ(waitForSprite(editor, SpriteModel::fromRom(0), DisplayColours::ofPalette(5)), "") << editor.log();

    // File > Compare With… by its mnemonic, the copy's name typed.
    desktop_->focus(editor.window());
    const int menuBarHeight = editor.client().y - editor.window().y;
    desktop_->click({editor.window().x + 14, editor.window().y + menuBarHeight / 2});
    ASSERT_TRUE(waitForPopup(editor)) << "the File menu did not open";
    desktop_->key("m");
    const WindowBox dialog = desktop_->waitForWindow("^Compare With");
    desktop_->focus(dialog);
    desktop_->type(copyPath);
    desktop_->key("Return");
    ASSERT_TRUE(desktop_->waitUntilGone("^Compare With")) << "the file dialog stays open";
    const WindowBox other =
        desktop_->waitForWindow("^Other ROM .* 3 sprites differ .* Sprite 0 is the same in teammate\\.smc$");

    // The list read by the keyboard: each entry activated chooses its
    // sprite, and after the third there is no other.
    desktop_->focus(other);
    for (int k = 0; k < 4; ++k) {
        desktop_->key(k == 0 ? "Home" : "Down");
        desktop_->key("Return");
        const int sprite = kChanged[std::min(k, 2)];
        EXPECT_NO_THROW(desktop_->waitForWindow("^Other ROM .* 3 sprites differ .* Sprite " + std::to_string(sprite) +
                                                " differs from teammate\\.smc$"))
            << "entry " << k;
    }
    desktop_->click(editor.control(layout::kSpriteNumber));
    desktop_->key("ctrl+a");
    desktop_->type("19");
    EXPECT_NO_THROW(desktop_->waitForWindow("^Other ROM .* Sprite 19 is the same in teammate\\.smc$"));
    EXPECT_EQ(testing::readFileBytes(copyPath), copy) << "the other ROM was written";

    // The overview marks the same three: filtered by "differs" it shows
    // three, the first of them sprite 18.
    desktop_->focus(editor.window());
    desktop_->key("ctrl+f");
    desktop_->waitForWindow("^Sprites");
    desktop_->type("differs");
    EXPECT_NO_THROW(desktop_->waitForWindow("^Sprites .* 3 of 1144$"));
    desktop_->key("Return");
    EXPECT_NO_THROW(desktop_->waitForWindow("^Other ROM .* Sprite 18 differs from teammate\\.smc$"));
}

} // namespace
} // namespace tessel::e2e
