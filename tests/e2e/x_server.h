// A private virtual X server for one test: Xvfb on the first free display
// number from :91 on, no window manager, no pointer drawn, its frame buffer
// kept in a file so that a screenshot is a plain read of that file. The
// server and its scratch directory go away with the object. It does not
// reset when its last client leaves, so the editor can be started again.
#pragma once

#include <string>

#include "e2e/process.h"
#include "e2e/xwd_image.h"

namespace tessel::e2e {

class XServer {
public:
    static constexpr int kWidth = 1024, kHeight = 768;

    // Starts the server; when none can be started, started() is false and
    // failure() says why.
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool started() const { return !display_.empty(); }
    const std::string& failure() const { return failure_; }
    const std::string& display() const { return display_; }
    // The test's scratch directory, removed (with its files) at the end.
    const std::string& scratchDirectory() const { return directory_; }

    // The environment that puts a child on this server; the program's own
    // files (recovery files, backups) go to scratchDirectory()/state.
    EnvChanges environment() const;
    // Runs an X client (xdotool, xdpyinfo) on this server.
    RunResult client(const std::vector<std::string>& argv) const;

    // The whole screen as it is now.
    XwdImage screenshot() const;

private:
    bool tryDisplay(int number);

    std::string directory_;
    std::string display_;
    std::string failure_;
    Process server_;
};

} // namespace tessel::e2e
