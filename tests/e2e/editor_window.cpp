#include "e2e/editor_window.h"

#include <cmath>
#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#ifndef TESSEL_BINARY
#error "TESSEL_BINARY must name the editor program"
#endif

namespace tessel::e2e {

namespace {
// The main window's client area is 369 x 231 dialog units; the status bar
// under it is 20 pixels high.
constexpr int kClientHeightUnits = 231;
constexpr int kStatusBarPixels = 20;
} // namespace

// Halves round away from zero, as the dialog layout rounds them.
int unitsToPixelsX(int units) { return static_cast<int>(std::lround(units * 6 / 4.0)); }
int unitsToPixelsY(int units) { return static_cast<int>(std::lround(units * 13 / 8.0)); }

ScreenPoint centreOf(UnitRect r)
{
    return {(unitsToPixelsX(r.x) + unitsToPixelsX(r.x + r.width)) / 2,
            (unitsToPixelsY(r.y) + unitsToPixelsY(r.y + r.height)) / 2};
}

EditorWindow::EditorWindow(const XServer& server, const std::vector<std::string>& arguments)
    : server_(server), logPath_(server.scratchDirectory() + "/tessel.log")
{
    std::vector<std::string> argv = {TESSEL_BINARY};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    process_ = Process(argv, server.environment(), logPath_, server.scratchDirectory());
    Desktop desktop(server);
    try {
        // "Tessel 2.6", or "game.smc — Tessel 2.6" once a ROM is open.
        window_ = desktop.waitForWindow("Tessel [0-9.]+$");
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string(e.what()) + "; the editor printed: " + log());
    }
    // No window manager, so no frame: the window is the menu bar, the
    // client area and the status bar.
    client_ = {window_.x,
               window_.y + window_.height - kStatusBarPixels - unitsToPixelsY(kClientHeightUnits)};
}

EditorWindow::~EditorWindow() { process_.stop(); }

void EditorWindow::signal(int number)
{
    if (process_.running()) ::kill(process_.pid(), number);
}

bool EditorWindow::waitUntilEnded(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (process_.running()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::string EditorWindow::log() const
{
    std::ifstream in(logPath_);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace tessel::e2e
