#include "e2e/x_server.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace tessel::e2e {

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string makeScratchDirectory()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tessel-e2e-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
    return pattern;
}

// Whether a live server (another test's, or anyone's) holds the display
// number. The lock file names the holder; a server that was killed leaves
// its lock behind, and the next one that starts clears it.
bool displayHeld(int number)
{
    std::ifstream lock("/tmp/.X" + std::to_string(number) + "-lock");
    long pid = 0;
    if (!(lock >> pid)) return false;
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

} // namespace

XServer::XServer() : directory_(makeScratchDirectory())
{
    if (!onPath("Xvfb")) {
        failure_ = "Xvfb is not installed (scripts/install-deps installs it)";
        return;
    }
    if (!onPath("xdpyinfo")) {
        failure_ = "xdpyinfo is not installed (package x11-utils)";
        return;
    }
    for (int number = 91; number <= 120 && !started(); ++number) tryDisplay(number);
    if (!started()) failure_ = "Xvfb did not start on any display from :91 to :120 (see " + directory_ + ")";
}

bool XServer::tryDisplay(int number)
{
    if (displayHeld(number)) return false;
    const std::string display = ":" + std::to_string(number);
    server_ = Process({"Xvfb", display, "-nolisten", "tcp", "-screen", "0",
                       std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24", "-dpi", "96",
                       "-nocursor", "-noreset", "-fbdir", directory_},
                      {}, directory_ + "/xvfb.log");
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!server_.running()) return false; // e.g. the display was taken meanwhile
        if (run({"xdpyinfo", "-display", display}, {}, 5s).exitCode == 0 &&
            fs::exists(directory_ + "/Xvfb_screen0")) {
            display_ = display;
            return true;
        }
        std::this_thread::sleep_for(20ms);
    }
    server_.stop();
    return false;
}

XServer::~XServer()
{
    server_.stop();
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
}

EnvChanges XServer::environment() const
{
    // Qt on this X server at 96 dpi, whatever the test's own environment
    // says; the program's own files in the scratch directory.
    return {{"DISPLAY", display_},
            {"XDG_STATE_HOME", directory_ + "/state"},
            {"XDG_CONFIG_HOME", directory_ + "/config"},
            {"QT_QPA_PLATFORM", "xcb"},
            {"QT_SCALE_FACTOR", ""},
            {"QT_SCREEN_SCALE_FACTORS", ""},
            {"QT_AUTO_SCREEN_SCALE_FACTOR", ""},
            {"XDG_RUNTIME_DIR", directory_},
            // The editor's recent ROMs go to the scratch folder, not the home.
            {"XDG_CONFIG_HOME", directory_},
            {"XDG_STATE_HOME", directory_},
            {"XDG_DATA_HOME", directory_ + "/data"},
            {"XAUTHORITY", ""}};
}

RunResult XServer::client(const std::vector<std::string>& argv) const
{
    return run(argv, environment());
}

XwdImage XServer::screenshot() const { return XwdImage::load(directory_ + "/Xvfb_screen0"); }

} // namespace tessel::e2e
