// The real editor, started on a test's X server, and where things are in
// its main window. The client area (below the menu bar) is the origin of
// the canvas geometry: the canvas from client (0, 0), the magnified sprite
// from (2, 2), the preview at (450, 0); controls are laid out in dialog
// units of the 8-point dialog font, 6/4 pixels across and 13/8 down.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "e2e/desktop.h"

namespace tessel::e2e {

// A control's rectangle in dialog units, as its window's template gives it.
struct UnitRect {
    int x, y, width, height;
};
int unitsToPixelsX(int units);
int unitsToPixelsY(int units);
// The centre of the control, in client pixels of its window.
ScreenPoint centreOf(UnitRect r);

// The main window's controls the tests use (dialog template 102).
namespace layout {
inline constexpr UnitRect kSpriteNumber{312, 50, 31, 12};
inline constexpr UnitRect kBrowserButton{343, 50, 11, 12};
inline constexpr UnitRect kPencil{294, 106, 16, 14};
inline constexpr UnitRect kFloodFill{310, 106, 16, 14};
inline constexpr UnitRect kSelect{310, 120, 16, 14};
inline constexpr UnitRect kLine{294, 134, 16, 14};
inline constexpr UnitRect kRectangle{310, 134, 16, 14};
// Palette swatch of colour index i: two rows of eight.
inline constexpr UnitRect swatch(int i) { return {1 + 26 * (i % 8), i < 8 ? 206 : 217, 24, 10}; }
// The colour indicators; the foreground one lies over the background's
// top-left corner.
inline constexpr UnitRect kForegroundIndicator{212, 206, 15, 13};
inline constexpr UnitRect kBackgroundIndicator{220, 212, 15, 13};
} // namespace layout

class EditorWindow {
public:
    // Starts `tessel arguments...` in the server's scratch directory and
    // waits for its main window; throws if it does not show.
    EditorWindow(const XServer& server, const std::vector<std::string>& arguments);
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    const WindowBox& window() const { return window_; }
    // Screen position of client pixel (0, 0).
    ScreenPoint client() const { return client_; }
    ScreenPoint at(int clientX, int clientY) const { return {client_.x + clientX, client_.y + clientY}; }
    ScreenPoint at(ScreenPoint clientPoint) const { return at(clientPoint.x, clientPoint.y); }
    // The middle of sprite pixel (x, y) on the magnified canvas.
    ScreenPoint onSprite(int x, int y) const { return at(2 + 4 * x + 2, 2 + 4 * y + 2); }
    ScreenPoint control(UnitRect r) const { return at(centreOf(r)); }

    bool running() { return process_.running(); }
    // Sends a signal to the program (SIGTERM, SIGKILL...).
    void signal(int number);
    // Polls until the program has ended; false after `limit`.
    bool waitUntilEnded(std::chrono::milliseconds limit = std::chrono::seconds(10));
    // What the program printed, for failure messages.
    std::string log() const;

private:
    const XServer& server_;
    std::string logPath_;
    Process process_;
    WindowBox window_;
    ScreenPoint client_;
};

} // namespace tessel::e2e
