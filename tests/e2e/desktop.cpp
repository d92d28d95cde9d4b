#include "e2e/desktop.h"

#include <sstream>
#include <stdexcept>
#include <thread>

namespace tessel::e2e {

namespace {

using namespace std::chrono_literals;

std::string number(int v) { return std::to_string(v); }

} // namespace

void Desktop::xdotool(const std::vector<std::string>& arguments) const
{
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const RunResult r = server_.client(argv);
    if (r.exitCode != 0) {
        std::string command;
        for (const std::string& a : argv) command += a + " ";
        throw std::runtime_error("failed: " + command);
    }
}

void Desktop::moveTo(ScreenPoint p) { xdotool({"mousemove", "--sync", number(p.x), number(p.y)}); }

void Desktop::click(ScreenPoint p, int button)
{
    moveTo(p);
    xdotool({"click", number(button)});
}

void Desktop::drag(ScreenPoint from, ScreenPoint to, int button, int steps)
{
    moveTo(from);
    std::vector<std::string> a = {"mousedown", number(button)};
    for (int i = 1; i <= steps; ++i) {
        a.insert(a.end(), {"mousemove", "--sync", number(from.x + (to.x - from.x) * i / steps),
                           number(from.y + (to.y - from.y) * i / steps)});
    }
    a.insert(a.end(), {"mouseup", number(button)});
    xdotool(a);
}

void Desktop::key(const std::string& keys) { xdotool({"key", keys}); }

void Desktop::type(const std::string& text) { xdotool({"type", "--delay", "15", text}); }

void Desktop::focus(const WindowBox& window) { xdotool({"windowfocus", "--sync", window.id}); }

std::vector<WindowBox> Desktop::search(const std::string& how, const std::string& pattern) const
{
    const RunResult r = server_.client({"xdotool", "search", "--onlyvisible", how, pattern});
    std::vector<WindowBox> found; // exit code 1 means none found
    std::istringstream ids(r.output);
    std::string id;
    while (ids >> id)
        if (auto box = geometry(id)) found.push_back(*box);
    return found;
}

std::vector<WindowBox> Desktop::windowsNamed(const std::string& pattern) const
{
    return search("--name", pattern);
}

std::vector<WindowBox> Desktop::windowsOfClass(const std::string& pattern) const
{
    return search("--class", pattern);
}

std::optional<WindowBox> Desktop::geometry(const std::string& id) const
{
    const RunResult r = server_.client({"xdotool", "getwindowgeometry", "--shell", id});
    if (r.exitCode != 0) return std::nullopt; // gone meanwhile
    WindowBox box;
    box.id = id;
    std::istringstream lines(r.output);
    std::string line;
    while (std::getline(lines, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string name = line.substr(0, eq);
        const int value = std::stoi(line.substr(eq + 1));
        if (name == "X") box.x = value;
        else if (name == "Y") box.y = value;
        else if (name == "WIDTH") box.width = value;
        else if (name == "HEIGHT") box.height = value;
    }
    return box;
}

WindowBox Desktop::waitForWindow(const std::string& pattern, std::chrono::milliseconds limit) const
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const std::vector<WindowBox> found = windowsNamed(pattern);
        if (!found.empty()) return found.front();
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("no window titled \"" + pattern + "\" appeared");
        std::this_thread::sleep_for(20ms);
    }
}

bool Desktop::waitUntilGone(const std::string& pattern, std::chrono::milliseconds limit) const
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!windowsNamed(pattern).empty()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

} // namespace tessel::e2e
