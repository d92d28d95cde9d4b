// A whole editing session in the real window: open a ROM from the command
// line, reach a sprite by its number and through the browser, pick colours,
// draw with every kind of tool, move a block, delete one, undo, save, close,
// and open the ROM again through the File menu and the file dialog. Every
// step is checked on the screen pixel by pixel, and the saved file byte by
// byte, against a model of the sprite kept by the test.
#include "e2e/e2e_fixture.h"

#include <optional>

namespace tessel::e2e {
namespace {

using namespace std::chrono_literals;

// Sprite 18 fills the whole 64 x 80 work area; it is reached through sprite
// 17 and the browser's page of sprites 16-23.
constexpr int kEdited = 18;

// The browser's client area lies inside its 3-pixel dialog frame.
constexpr int kBrowserFrame = 3;

// Page 2 of the browser: sprites 16-23, each in its own palette, centred
// in a black 64 x 80 cell at client (5 + 72 * (k % 4), 5 + 102 * (k / 4)).
std::string checkBrowserPage2(const XwdImage& screen, const WindowBox& browser)
{
    std::string findings;
    const int x = browser.x + kBrowserFrame, y = browser.y + kBrowserFrame;
    for (int slot = 0; slot < 8; ++slot) {
        const SpriteModel s = SpriteModel::fromRom(16 + slot);
        findings += checkBoxedSprite(screen, {x + 5 + 72 * (slot % 4), y + 5 + 102 * (slot / 4)}, s,
                                     DisplayColours::ofPalette(s.palette), "browser thumbnail");
    }
    return findings;
}

class EditSession : public EndToEnd {
protected:
    // Types the ROM's path into the Open ROM dialog and presses Return.
    // The name holds "P" and "i", which are shortcuts outside text fields,
    // and by the time they are typed the field's completer lists the file.
    void typeIntoOpenDialog()
    {
        const WindowBox dialog = desktop_->waitForWindow("^Open");
        desktop_->focus(dialog);
        desktop_->type(romPath_);
        desktop_->key("Return");
        ASSERT_TRUE(desktop_->waitUntilGone("^Open")) << "the file dialog stays open";
    }

    void goToSpriteByNumber(const EditorWindow& editor, int number)
    {
        desktop_->click(editor.control(layout::kSpriteNumber));
        desktop_->key("ctrl+a"); // a text field keeps Ctrl+A: select all
        desktop_->type(std::to_string(number));
    }
};

TEST_F(EditSession, MouseEditsReachTheScreenAndTheFileAndSurviveReopening)
{
    const EditorWindow& editor = startEditor({romPath_});
    desktop_->focus(editor.window());
    ASSERT_EQ(waitForSprite(editor, SpriteModel::fromRom(0), DisplayColours::ofPalette(5)), "")
        << "sprite 0 after opening the ROM named on the command line; " << editor.log();

    // The number box, then the browser's thumbnail of the next sprite.
    goToSpriteByNumber(editor, 17);
    ASSERT_EQ(waitForSprite(editor, SpriteModel::fromRom(17), DisplayColours::ofPalette(7)), "");
    desktop_->click(editor.control(layout::kBrowserButton));
    const std::optional<WindowBox> browser = waitForPopup(editor);
    ASSERT_TRUE(browser) << "the sprite browser did not show";
    // Its top-right corner is at the bottom-right corner of its button.
    EXPECT_EQ(browser->x + browser->width, editor.client().x + unitsToPixelsX(343 + 11));
    EXPECT_EQ(browser->y, editor.client().y + unitsToPixelsY(50 + 12));
    EXPECT_EQ(waitForScreen(*server_, [&](const XwdImage& screen) { return checkBrowserPage2(screen, *browser); }),
              "");
    desktop_->click({browser->x + kBrowserFrame + 182, browser->y + kBrowserFrame + 46}); // slot 2: (149, 6)-(215, 86)
    SpriteModel sprite = SpriteModel::fromRom(kEdited);
    const DisplayColours colours = DisplayColours::ofPalette(sprite.palette);
    ASSERT_EQ(waitForSprite(editor, sprite, colours), "") << "choosing sprite 18 in the browser";
    ASSERT_TRUE(waitUntilNoPopup(editor)) << "the browser stays shown";

    // Colours: the left button on a swatch picks the foreground, the right
    // button the background; the indicators show them.
    const int foreground = 9, background = 12;
    desktop_->click(editor.control(layout::swatch(foreground)), kLeftButton);
    desktop_->click(editor.control(layout::swatch(background)), kRightButton);
    EXPECT_EQ(waitForScreen(*server_,
                            [&](const XwdImage& screen) {
                                return checkPixel(screen, editor.control(layout::kForegroundIndicator),
                                                  colours.colour[foreground], "foreground indicator") +
                                       // the part of the background one that the foreground one leaves free
                                       checkPixel(screen, editor.at(348, 361), colours.colour[background],
                                                  "background indicator");
                            }),
              "");

    // Pencil: one pixel with each button.
    desktop_->click(editor.onSprite(40, 10), kLeftButton);
    desktop_->click(editor.onSprite(44, 14), kRightButton);
    sprite.set(40, 10, foreground);
    sprite.set(44, 14, background);
    ASSERT_EQ(waitForSprite(editor, sprite, colours), "") << "pencil";

    // A 45-degree line dragged with the left button; its end is not drawn.
    desktop_->click(editor.control(layout::kLine));
    desktop_->drag(editor.onSprite(10, 50), editor.onSprite(30, 70), kLeftButton);
    drawLine(sprite, 10, 50, 30, 70, foreground);
    ASSERT_EQ(waitForSprite(editor, sprite, colours), "") << "line";

    // A rectangle dragged with the right button: filled ("Opaque") in the
    // background colour, without its right column and bottom row.
    desktop_->click(editor.control(layout::kRectangle));
    desktop_->drag(editor.onSprite(36, 30), editor.onSprite(50, 44), kRightButton);
    fillBox(sprite, 36, 30, 50, 44, background);
    ASSERT_EQ(waitForSprite(editor, sprite, colours), "") << "filled rectangle";

    // Flood fill of the blank area above the diagonal band.
    desktop_->click(editor.control(layout::kFloodFill));
    desktop_->click(editor.onSprite(20, 3), kLeftButton);
    floodFill(sprite, 20, 3, foreground);
    ASSERT_EQ(waitForSprite(editor, sprite, colours), "") << "flood fill";

    // Select a block, lift it and move it 20 right and 10 up; choosing a
    // tool puts it down and ends the selection.
    desktop_->click(editor.control(layout::kSelect));
    desktop_->drag(editor.onSprite(8, 48), editor.onSprite(20, 60), kLeftButton); // [8, 20) x [48, 60)
    desktop_->drag(editor.onSprite(14, 54), editor.onSprite(34, 44), kLeftButton);
    desktop_->click(editor.control(layout::kPencil));
    moveBlock(sprite, 8, 48, 20, 60, 20, -10, background);
    ASSERT_EQ(waitForSprite(editor, sprite, colours), "") << "moved block";

    // Delete clears a selected block to the background colour.
    desktop_->click(editor.control(layout::kSelect));
    desktop_->drag(editor.onSprite(44, 60), editor.onSprite(52, 66), kLeftButton);
    desktop_->focus(editor.window());
    desktop_->key("Delete");
    fillBox(sprite, 44, 60, 52, 66, background);
    ASSERT_EQ(waitForSprite(editor, sprite, colours), "") << "Delete";

    // Undo takes back the last edit only.
    desktop_->click(editor.control(layout::kPencil));
    desktop_->click(editor.onSprite(50, 72), kLeftButton);
    SpriteModel withDot = sprite;
    withDot.set(50, 72, foreground);
    ASSERT_EQ(waitForSprite(editor, withDot, colours), "") << "pencil before undo";
    desktop_->key("ctrl+z");
    ASSERT_EQ(waitForSprite(editor, sprite, colours), "") << "undo";

    // "i" shows the sprite information with the unsaved edits.
    desktop_->key("i");
    const WindowBox info = desktop_->waitForWindow("^Sprite #18$");
    EXPECT_EQ(waitForScreen(*server_,
                            [&](const XwdImage& screen) {
                                return checkBoxedSprite(screen, {info.x + 5, info.y + 5}, sprite, colours,
                                                        "information picture");
                            }),
              "");
    desktop_->focus(info);
    desktop_->key("Escape");
    ASSERT_TRUE(desktop_->waitUntilGone("^Sprite #18$"));

    // Ctrl+S writes the sprite's tiles and nothing else.
    desktop_->focus(editor.window());
    desktop_->key("ctrl+s");
    std::vector<std::uint8_t> expected = original_;
    encodeSprite(sprite, expected);
    ASSERT_EQ(waitForFile(expected), "") << "after Ctrl+S";
    int changed = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) changed += expected[i] != original_[i];
    EXPECT_GT(changed, 100) << "the edits changed too few bytes for the test to mean much";

    // Ctrl+L closes the ROM: the edited sprite leaves the canvas.
    desktop_->key("ctrl+l");
    EXPECT_NE(waitForScreen(*server_,
                            [&](const XwdImage& screen) {
                                return checkCanvas(screen, editor.client(), sprite, colours).empty()
                                           ? "the canvas still shows the sprite"
                                           : "";
                            }),
              "the canvas still shows the sprite");

    // File > Open ROM... with the file's name typed into the dialog.
    const int menuBarHeight = editor.client().y - editor.window().y;
    desktop_->click({editor.window().x + 14, editor.window().y + menuBarHeight / 2});
    const std::optional<WindowBox> menu = waitForPopup(editor);
    ASSERT_TRUE(menu) << "the File menu did not open";
    desktop_->click({menu->x + 40, menu->y + 12}); // its first item, "Open ROM..."
    ASSERT_NO_FATAL_FAILURE(typeIntoOpenDialog());
    ASSERT_EQ(waitForSprite(editor, SpriteModel::fromRom(0), DisplayColours::ofPalette(5)), "")
        << "sprite 0 after opening the ROM again";

    // The reopened ROM holds the saved edits.
    desktop_->focus(editor.window());
    goToSpriteByNumber(editor, kEdited);
    EXPECT_EQ(waitForSprite(editor, sprite, colours), "") << "the edited sprite read back from the file";

    // Ctrl+O naming the ROM that is open opens it afresh.
    desktop_->focus(editor.window());
    desktop_->key("ctrl+o");
    ASSERT_NO_FATAL_FAILURE(typeIntoOpenDialog());
    EXPECT_EQ(waitForSprite(editor, SpriteModel::fromRom(0), DisplayColours::ofPalette(5)), "")
        << "sprite 0 after opening the open ROM again";
    EXPECT_EQ(waitForFile(expected), "") << "closing and opening wrote to the file";
}

} // namespace
} // namespace tessel::e2e
