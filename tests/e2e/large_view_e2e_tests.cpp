// The Large View in the real program: opened with Ctrl+E at the place and
// zoom its settings give, a click at two zooms lands on the sprite pixel
// under the pointer (the saved bytes show it), and a line dragged in it
// shows on the main canvas too.
#include "e2e/e2e_fixture.h"

#include <filesystem>
#include <fstream>

namespace tessel::e2e {
namespace {

constexpr Rgb kGrey{127, 127, 127};

// Sprite 0, 32 x 48 pixels in palette 5, centred in the view's canvas,
// which spans the window's width above the zoom bar.
struct ViewPlace {
    ScreenPoint canvas;
    int width = 0, height = 0, zoom = 1;
    ScreenPoint onPixel(int x, int y) const
    {
        const int left = (width - 32 * zoom) / 2, top = (height - 48 * zoom) / 2;
        return {canvas.x + left + zoom * x + zoom / 2, canvas.y + top + zoom * y + zoom / 2};
    }
};

class LargeViewSession : public EndToEnd {
protected:
    // Left of the main window, which the server shows in the middle of its
    // 1024 x 768 screen.
    void writeSettings()
    {
        const std::string folder = server_->scratchDirectory() + "/config/tessel";
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/tessel.conf") << "[largeView]\nx=0\ny=0\nwidth=220\nheight=760\nzoom=3\n";
    }
    // Waits until pixel (x, y) of the sprite shows `colour` at `zoom`; the
    // canvas's height is where its grey left column ends.
    std::string waitForPixel(ViewPlace& place, int x, int y, Rgb colour)
    {
        return waitForScreen(*server_, [&](const XwdImage& screen) -> std::string {
            int h = 0;
            while (place.canvas.y + h < XServer::kHeight &&
                   screen.at(place.canvas.x + 1, place.canvas.y + h) == kGrey)
                ++h;
            place.height = h;
            return checkPixel(screen, place.onPixel(x, y), colour, "large view pixel");
        });
    }
};

TEST_F(LargeViewSession, ClicksAtTwoZoomsLandOnTheirPixelsAndADragReachesTheCanvas)
{
    writeSettings();
    const EditorWindow& editor = startEditor({romPath_});
    SpriteModel sprite = SpriteModel::fromRom(0);
    const DisplayColours colours = DisplayColours::ofPalette(5);
    ASSERT_EQ(waitForSprite(editor, sprite, colours), "") << editor.log();
    const int foreground = 9;
    desktop_->click(editor.control(layout::swatch(foreground)), kLeftButton);

    desktop_->focus(editor.window());
    desktop_->key("ctrl+e");
    const WindowBox box = desktop_->waitForWindow("^Large View");
    ASSERT_EQ(box.x, 0);
    ASSERT_EQ(box.width, 220);
    ViewPlace place{{box.x, box.y}, box.width, 0, 3};
    ASSERT_EQ(waitForPixel(place, 0, 0, colours.colour[sprite.at(0, 0)]), "") << "the view at 3x";
    desktop_->click(place.onPixel(5, 7));
    sprite.set(5, 7, foreground);
    ASSERT_EQ(waitForPixel(place, 5, 7, colours.colour[foreground]), "") << "a click at 3x";

    // Three steps up: 6x, with the pixel grid on.
    desktop_->focus(box);
    for (int i = 0; i < 3; ++i) desktop_->key("ctrl+plus");
    place.zoom = 6;
    ASSERT_EQ(waitForPixel(place, 5, 7, colours.colour[foreground]), "") << "the view at 6x";
    desktop_->click(place.onPixel(20, 30));
    sprite.set(20, 30, foreground);
    ASSERT_EQ(waitForPixel(place, 20, 30, colours.colour[foreground]), "") << "a click at 6x";
    desktop_->key("ctrl+s");
    std::vector<std::uint8_t> expected = original_;
    encodeSprite(sprite, expected);
    ASSERT_EQ(waitForFile(expected), "") << "the two pixels saved";

    // A line dragged in the view, its end excluded, shows on the canvas.
    desktop_->click(editor.control(layout::kLine));
    desktop_->drag(place.onPixel(2, 40), place.onPixel(12, 40));
    drawLine(sprite, 2, 40, 12, 40, foreground);
    EXPECT_EQ(waitForSprite(editor, sprite, colours), "") << "the main canvas after a drag in the view";
}

} // namespace
} // namespace tessel::e2e
