#include "e2e/process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tessel::e2e {

namespace {

using Clock = std::chrono::steady_clock;

// The environment is built before fork(): the child only redirects and execs.
std::vector<std::string> environmentWith(const EnvChanges& changes)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (!changes.count(name)) env.push_back(entry);
    }
    for (const auto& [name, value] : changes)
        if (!value.empty()) env.push_back(name + "=" + value);
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> result;
    for (std::string& s : strings) result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

// Forks and execs; in the child, `out` becomes standard output (and `err`
// standard error), -1 meaning /dev/null.
pid_t spawn(std::vector<std::string> argv, const EnvChanges& changes, int out, int err,
            const std::string& workingDirectory)
{
    if (argv.empty()) throw std::runtime_error("nothing to run");
    std::vector<std::string> env = environmentWith(changes);
    std::vector<char*> args = pointers(argv), envp = pointers(env);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid == 0) {
        // A test killed for taking too long leaves no X server or editor
        // behind: the child dies with it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() == 1) ::_exit(125); // the test is gone already
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(out >= 0 ? out : null, 1);
        ::dup2(err >= 0 ? err : null, 2);
        if (!workingDirectory.empty() && ::chdir(workingDirectory.c_str()) != 0) ::_exit(126);
        ::execvpe(args[0], args.data(), envp.data());
        ::_exit(127);
    }
    return pid;
}

} // namespace

Process::Process(const std::vector<std::string>& argv, const EnvChanges& env,
                 const std::string& logPath, const std::string& workingDirectory)
{
    int log = -1;
    if (!logPath.empty()) {
        log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (log < 0) throw std::runtime_error("cannot write " + logPath);
    }
    try {
        pid_ = spawn(argv, env, log, log, workingDirectory);
    } catch (...) {
        if (log >= 0) ::close(log);
        throw;
    }
    if (log >= 0) ::close(log);
}

Process::~Process() { stop(); }

Process::Process(Process&& other) noexcept : pid_(other.pid_) { other.pid_ = -1; }

Process& Process::operator=(Process&& other) noexcept
{
    if (this != &other) {
        stop();
        pid_ = other.pid_;
        other.pid_ = -1;
    }
    return *this;
}

bool Process::running()
{
    if (pid_ <= 0) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == 0) return true;
    pid_ = -1;
    return false;
}

void Process::stop(std::chrono::milliseconds grace)
{
    if (!running()) return;
    ::kill(pid_, SIGTERM);
    const auto deadline = Clock::now() + grace;
    while (running() && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

RunResult run(const std::vector<std::string>& argv, const EnvChanges& env,
              std::chrono::milliseconds limit)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    pid_t pid;
    try {
        pid = spawn(argv, env, fds[1], -1, {});
    } catch (...) {
        ::close(fds[0]);
        ::close(fds[1]);
        throw;
    }
    ::close(fds[1]);
    RunResult result;
    const auto deadline = Clock::now() + limit;
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char buffer[4096];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        result.output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    if (timedOut) ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!timedOut && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}

bool onPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

} // namespace tessel::e2e
