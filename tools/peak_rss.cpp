// Runs a command and prints the peak resident memory of its process, the
// kernel's ru_maxrss in KiB, as "peak-rss-kib N" once it has ended. Used by
// the performance table: no /usr/bin/time is needed.
// Usage: peak-rss COMMAND [ARGUMENT...]; exits with the command's status.
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs("usage: peak-rss COMMAND [ARGUMENT...]\n", stderr);
        return 2;
    }
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (wait4(child, &status, 0, &usage) < 0) {
        std::perror("wait4");
        return 2;
    }
    std::printf("peak-rss-kib %ld\n", usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
