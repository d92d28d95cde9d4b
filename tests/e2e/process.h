// Child processes for the end-to-end tests: programs started in the
// background (the X server, the editor) that are ended when their owner goes
// away, and short commands (xdotool, xdpyinfo) run to completion with their
// output captured and a time limit, so that no test can hang on one.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tessel::e2e {

// The environment a child gets: the test's own, with these variables set
// (an empty value removes the variable).
using EnvChanges = std::map<std::string, std::string>;

class Process {
public:
    Process() = default;
    // Starts `argv` with its output sent to `logPath` (or discarded when
    // empty). Throws std::runtime_error when it cannot be started.
    Process(const std::vector<std::string>& argv, const EnvChanges& env,
            const std::string& logPath = {}, const std::string& workingDirectory = {});
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return pid_; }
    // False once the child has ended (it is then reaped).
    bool running();
    // SIGTERM, then SIGKILL if it has not ended within `grace`; reaps it.
    void stop(std::chrono::milliseconds grace = std::chrono::milliseconds(2000));

private:
    pid_t pid_ = -1;
};

struct RunResult {
    int exitCode = -1; // -1: did not end in time, or was killed by a signal
    std::string output; // standard output
};

// Runs `argv` to completion, killing it after `limit`.
RunResult run(const std::vector<std::string>& argv, const EnvChanges& env,
              std::chrono::milliseconds limit = std::chrono::milliseconds(10000));

// Whether `name` is an executable found on PATH.
bool onPath(const std::string& name);

} // namespace tessel::e2e
