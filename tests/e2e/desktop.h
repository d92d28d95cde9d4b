// Real input and window look-up on a test's X server through xdotool: the
// pointer, its buttons and the keyboard act as a user's would, and windows
// are found by their title or class as a user would see them. Positions are
// screen pixels; with no window manager a top-level window has no frame, so
// its position is that of its client area.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "e2e/x_server.h"

namespace tessel::e2e {

struct ScreenPoint {
    int x = 0, y = 0;
};

struct WindowBox {
    std::string id;
    int x = 0, y = 0, width = 0, height = 0;
};

inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 3;

class Desktop {
public:
    explicit Desktop(const XServer& server) : server_(server) {}

    void moveTo(ScreenPoint p);
    // Moves there, then presses and releases the button.
    void click(ScreenPoint p, int button = kLeftButton);
    // Press at `from`, move in `steps` equal steps to `to`, release there.
    void drag(ScreenPoint from, ScreenPoint to, int button = kLeftButton, int steps = 5);
    // Key strokes in xdotool's names, e.g. "ctrl+s", "Delete", "shift+p".
    void key(const std::string& keys);
    void type(const std::string& text);
    // Gives a window the keyboard focus, as a window manager would when the
    // user clicks it.
    void focus(const WindowBox& window);

    // Visible windows whose title matches the regular expression, or whose
    // class does.
    std::vector<WindowBox> windowsNamed(const std::string& pattern) const;
    std::vector<WindowBox> windowsOfClass(const std::string& pattern) const;
    // Polls for a visible window with that title; throws after `limit`.
    WindowBox waitForWindow(const std::string& pattern,
                            std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
    // Polls until no visible window has that title; false after `limit`.
    bool waitUntilGone(const std::string& pattern,
                       std::chrono::milliseconds limit = std::chrono::seconds(10)) const;

private:
    void xdotool(const std::vector<std::string>& arguments) const;
    std::vector<WindowBox> search(const std::string& how, const std::string& pattern) const;
    std::optional<WindowBox> geometry(const std::string& id) const;

    const XServer& server_;
};

} // namespace tessel::e2e
