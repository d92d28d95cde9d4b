// The palette editor in the real window: Shift+P opens it on the current
// sprite's palette with the foreground colour chosen, a typed component is
// added to the working copy and applied, and the ROM file, the canvas, the
// swatches and a second run of the program all show the new colour.
#include "e2e/e2e_fixture.h"

#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

namespace tessel::e2e {
namespace {

// Palette editor controls (dialog template 176), in dialog units.
constexpr UnitRect kRedField{187, 37, 30, 12};
constexpr UnitRect kAddColour{109, 84, 70, 11};
constexpr UnitRect kApplyChanges{8, 110, 84, 14};
constexpr UnitRect kClose{170, 110, 54, 14};
// The editor's own swatch of colour k.
constexpr UnitRect editorSwatch(int k) { return {14 + 18 * (k % 4), 38 + 13 * (k / 4), 16, 11}; }

ScreenPoint inWindow(const WindowBox& w, UnitRect r)
{
    const ScreenPoint c = centreOf(r);
    return {w.x + c.x, w.y + c.y};
}

using PaletteEditing = EndToEnd;

TEST_F(PaletteEditing, AppliedColourIsWrittenAndShownAndReadByTheNextRun)
{
    // Sprite 0 uses palette 5; its frame is drawn in colour 1.
    const int palette = 5, k = 1, newRed = 25;
    const SpriteModel sprite = SpriteModel::fromRom(0);
    const testing::ExpectedColour old = testing::expectedRawColour(palette, k);
    ASSERT_NE(old.red, newRed);

    std::vector<std::uint8_t> expected = original_;
    // Apply writes only the colour that changed (its word has no top bit
    // in the generated file); every other colour is left as the file has it.
    encodeColour(expected, palette, k, newRed, old.green, old.blue);
    DisplayColours shown = DisplayColours::ofPalette(palette);
    shown.colour[k] = displayOfRaw(newRed, old.green, old.blue);

    {
        const EditorWindow& editor = startEditor({romPath_});
        desktop_->focus(editor.window());
        ASSERT_EQ(waitForSprite(editor, sprite, DisplayColours::ofPalette(palette)), "") << editor.log();
        desktop_->click(editor.control(layout::swatch(k))); // foreground: colour 1

        desktop_->key("shift+p");
        const WindowBox dialog = desktop_->waitForWindow("^Palette Editor$");
        desktop_->focus(dialog);
        desktop_->click(inWindow(dialog, kRedField));
        desktop_->key("ctrl+a");
        desktop_->type(std::to_string(newRed));
        desktop_->click(inWindow(dialog, kAddColour));
        // The working copy's swatch shows the raw colour as 8 v + 7.
        EXPECT_EQ(waitForScreen(*server_,
                                [&](const XwdImage& screen) {
                                    return checkPixel(screen, inWindow(dialog, editorSwatch(k)), shown.colour[k],
                                                      "the editor's swatch");
                                }),
                  "");
        EXPECT_EQ(testing::readFileBytes(romPath_), original_) << "Add Color alone wrote to the file";

        desktop_->click(inWindow(dialog, kApplyChanges));
        ASSERT_EQ(waitForFile(expected), "") << "after Apply Changes";
        desktop_->click(inWindow(dialog, kClose));
        ASSERT_TRUE(desktop_->waitUntilGone("^Palette Editor$"));

        // Closing the editor shows the applied colour on the canvas, the
        // preview, the swatch and the foreground indicator.
        EXPECT_EQ(waitForSprite(editor, sprite, shown), "");
        EXPECT_EQ(waitForScreen(*server_,
                                [&](const XwdImage& screen) {
                                    return checkPixel(screen, editor.control(layout::swatch(k)), shown.colour[k],
                                                      "palette swatch") +
                                           checkPixel(screen, editor.control(layout::kForegroundIndicator),
                                                      shown.colour[k], "foreground indicator");
                                }),
                  "");
    }

    // A new run of the program reads the colour from the file.
    stopEditor();
    const EditorWindow& again = startEditor({romPath_});
    EXPECT_EQ(waitForSprite(again, sprite, shown), "");
    EXPECT_EQ(waitForFile(expected), "");
}

} // namespace
} // namespace tessel::e2e
