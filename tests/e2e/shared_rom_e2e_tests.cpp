// The ROM file is shared: another program renames a new file over it, or
// changes it in place, while the real editor holds it. Checked from outside
// through the file's bytes and the windows that show.
#include "e2e/e2e_fixture.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "rom/sprite_catalogue.h"
#include "support/scratch_file.h"

namespace tessel::e2e {
namespace {

class SharedRomFile : public EndToEnd {
protected:
    // Paints pixel (1, 1) of sprite 0 in colour 3 and waits for the screen.
    SpriteModel paintOnePixel(const EditorWindow& editor)
    {
        SpriteModel sprite = SpriteModel::fromRom(0);
        EXPECT_EQ(waitForSprite(editor, sprite, DisplayColours::ofPalette(5)), "") << editor.log();
        desktop_->click(editor.control(layout::swatch(3)));
        desktop_->click(editor.onSprite(1, 1));
        sprite.set(1, 1, 3);
        EXPECT_EQ(waitForSprite(editor, sprite, DisplayColours::ofPalette(5)), "");
        return sprite;
    }
    // Focuses the message box or question that shows, then presses `keys`.
    void answer(const EditorWindow& editor, const std::string& keys, const char* what)
    {
        const std::optional<WindowBox> box = waitForPopup(editor);
        ASSERT_TRUE(box) << what << " did not show";
        desktop_->focus(*box);
        desktop_->key(keys);
        ASSERT_TRUE(waitUntilNoPopup(editor)) << what << " stays shown";
    }
};

TEST_F(SharedRomFile, ARomRenamedOverGetsNothingAndClosingStillAsks)
{
    const EditorWindow& editor = startEditor({romPath_});
    desktop_->focus(editor.window());
    paintOnePixel(editor);

    std::vector<std::uint8_t> theirs = original_;
    theirs[0x200] ^= 0xFF;
    {
        testing::ScratchFile written;
        written.write(theirs);
        ASSERT_EQ(std::rename(written.path().c_str(), romPath_.c_str()), 0);
    }
    desktop_->focus(editor.window());
    desktop_->key("ctrl+s");
    answer(editor, "Return", "the message that the file was replaced");
    EXPECT_EQ(testing::readFileBytes(romPath_), theirs);

    desktop_->focus(editor.window());
    desktop_->key("ctrl+l");
    answer(editor, "Escape", "the unsaved-edits question");
    EXPECT_EQ(testing::readFileBytes(romPath_), theirs);
}

TEST_F(SharedRomFile, AfterARenameOverSaveACopyAsWritesTheEditsElsewhere)
{
    const EditorWindow& editor = startEditor({romPath_});
    desktop_->focus(editor.window());
    const SpriteModel sprite = paintOnePixel(editor);
    std::vector<std::uint8_t> theirs = original_;
    theirs[0x200] ^= 0xFF;
    {
        testing::ScratchFile written;
        written.write(theirs);
        ASSERT_EQ(std::rename(written.path().c_str(), romPath_.c_str()), 0);
    }
    desktop_->focus(editor.window());
    desktop_->key("ctrl+s");
    // Yes: the file dialog follows the question at once, so it is waited
    // for in its place rather than for no window at all.
    const std::optional<WindowBox> offer = waitForPopup(editor);
    ASSERT_TRUE(offer) << "the offer of a copy after the replacement did not show";
    desktop_->focus(*offer);
    desktop_->key("alt+y");
    const WindowBox dialog = desktop_->waitForWindow("^Save a Copy As");
    desktop_->focus(dialog);
    const std::string copyPath = romPath_ + ".copy.smc";
    desktop_->type(copyPath);
    desktop_->key("Return");
    ASSERT_TRUE(desktop_->waitUntilGone("^Save a Copy As")) << "the file dialog stays open";

    std::vector<std::uint8_t> expected = original_;
    encodeSprite(sprite, expected);
    EXPECT_EQ(waitForFile(expected, copyPath), "") << editor.log();
    EXPECT_EQ(testing::readFileBytes(romPath_), theirs);
}

TEST_F(SharedRomFile, SaveAllKeepsAnOutsideChangeToASpriteTheUserNeverTouched)
{
    const EditorWindow& editor = startEditor({romPath_});
    desktop_->focus(editor.window());
    const SpriteModel sprite = paintOnePixel(editor);

    // Another program changes a tile of sprite 700 in place.
    const long long at700 = spriteCatalogue()[700].romOffset;
    std::vector<std::uint8_t> expected = original_;
    expected[at700] ^= 0x5A;
    {
        const int fd = ::open(romPath_.c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::pwrite(fd, &expected[at700], 1, at700), 1);
        const timespec times[2] = {{0, UTIME_OMIT}, {1234567890, 0}};
        ::futimens(fd, times);
        ::close(fd);
    }
    desktop_->focus(editor.window());
    desktop_->key("ctrl+a");
    answer(editor, "alt+y", "the question about the outside change"); // Yes
    encodeSprite(sprite, expected);
    EXPECT_EQ(waitForFile(expected), "");
}

} // namespace
} // namespace tessel::e2e
