// ROMs as users have them, in the real window: the same edit saved into a
// copier image and into the same ROM without its header, what the caption
// and the status bar say about it, and the shortcuts that must work right
// after typing a sprite number.
#include "e2e/e2e_fixture.h"

#include <fstream>

namespace tessel::e2e {
namespace {

constexpr int kStatusBarHeight = 20;
const int kClientWidth = unitsToPixelsX(369);
const int kClientHeight = unitsToPixelsY(231);

std::vector<std::uint8_t> withoutHeader(std::vector<std::uint8_t> rom)
{
    rom.erase(rom.begin(), rom.begin() + 512);
    return rom;
}

// The status bar's pixels, to tell that its text changed.
std::vector<Rgb> statusBar(const XServer& server, const EditorWindow& editor)
{
    std::vector<Rgb> pixels;
    waitForScreen(server, [&](const XwdImage& screen) {
        for (int y = 0; y < kStatusBarHeight; ++y)
            for (int x = 0; x < kClientWidth; ++x)
                pixels.push_back(screen.at(editor.client().x + x, editor.client().y + kClientHeight + y));
        return "";
    });
    return pixels;
}

class RomKinds : public EndToEnd {
protected:
    void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << path;
    }
    bool captionShows(const std::string& pattern)
    {
        try {
            desktop_->waitForWindow(pattern);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }
};

TEST_F(RomKinds, TheSameEditChangesACopierImageAndADumpInTheSameBytes512Apart)
{
    SpriteModel sprite = SpriteModel::fromRom(0);
    const int foreground = 9;
    sprite.set(10, 20, foreground);
    std::vector<std::uint8_t> expectedCopier = original_;
    encodeSprite(sprite, expectedCopier);

    struct Kind {
        std::string name;
        std::vector<std::uint8_t> before, after;
    } kinds[] = {{"oaken.smc", original_, expectedCopier},
                 {"oaken.sfc", withoutHeader(original_), withoutHeader(expectedCopier)}};
    std::vector<std::size_t> changed[2];
    for (int k = 0; k < 2; ++k) {
        const Kind& kind = kinds[k];
        romPath_ = server_->scratchDirectory() + "/" + kind.name;
        ASSERT_NO_FATAL_FAILURE(writeFile(romPath_, kind.before));
        const EditorWindow& editor = startEditor({romPath_});
        desktop_->focus(editor.window());
        ASSERT_EQ(waitForSprite(editor, SpriteModel::fromRom(0), DisplayColours::ofPalette(5)), "")
            << kind.name << " opens with sprite 0 where it belongs; " << editor.log();
        const std::string caption = "oaken\\." + kind.name.substr(6) + " .+ Tessel 2\\.6$";
        EXPECT_TRUE(captionShows("^" + caption)) << kind.name;

        desktop_->click(editor.control(layout::swatch(foreground)));
        desktop_->click(editor.onSprite(10, 20));
        ASSERT_EQ(waitForSprite(editor, sprite, DisplayColours::ofPalette(5)), "") << kind.name;
        EXPECT_TRUE(captionShows("^\\*" + caption)) << "an unsaved edit is marked: " << kind.name;

        desktop_->moveTo(editor.at(kClientWidth - 20, kClientHeight - 60)); // off the canvas
        const std::vector<Rgb> statusBefore = statusBar(*server_, editor);
        desktop_->key("ctrl+s");
        ASSERT_EQ(waitForFile(kind.after), "") << kind.name;
        EXPECT_TRUE(captionShows("^" + caption)) << "the save is no longer marked: " << kind.name;
        EXPECT_NE(statusBar(*server_, editor), statusBefore) << "the status bar says what was saved";

        for (std::size_t i = 0; i < kind.before.size(); ++i)
            if (kind.before[i] != kind.after[i]) changed[k].push_back(i);
        stopEditor();
    }
    ASSERT_FALSE(changed[0].empty());
    ASSERT_EQ(changed[0].size(), changed[1].size());
    for (std::size_t i = 0; i < changed[0].size(); ++i) EXPECT_EQ(changed[0][i], changed[1][i] + 512);
}

TEST_F(RomKinds, AfterTypingASpriteNumberACanvasPressGivesTheShortcutsBack)
{
    const EditorWindow& editor = startEditor({romPath_});
    desktop_->focus(editor.window());
    ASSERT_EQ(waitForSprite(editor, SpriteModel::fromRom(0), DisplayColours::ofPalette(5)), "") << editor.log();
    const int foreground = 11;
    desktop_->click(editor.control(layout::swatch(foreground)));
    desktop_->click(editor.control(layout::kSpriteNumber));
    desktop_->key("ctrl+a");
    desktop_->type("17");
    SpriteModel sprite = SpriteModel::fromRom(17);
    const DisplayColours colours = DisplayColours::ofPalette(sprite.palette);
    ASSERT_EQ(waitForSprite(editor, sprite, colours), "");

    desktop_->click(editor.onSprite(20, 12));
    sprite.set(20, 12, foreground);
    ASSERT_EQ(waitForSprite(editor, sprite, colours), "");
    desktop_->key("ctrl+a"); // Save All Sprites, not "select all" in the box
    std::vector<std::uint8_t> expected = original_;
    encodeSprite(sprite, expected);
    ASSERT_EQ(waitForFile(expected), "") << "Ctrl+A saved the sprite";

    desktop_->key("ctrl+i"); // the sprite information, as the menu says
    desktop_->focus(desktop_->waitForWindow("^Sprite #17$"));
    desktop_->key("Escape");
    EXPECT_TRUE(desktop_->waitUntilGone("^Sprite #17$"));
}

} // namespace
} // namespace tessel::e2e
