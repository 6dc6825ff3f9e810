// tamsel-bench-peak PROGRAM [ARGUMENT...]: runs PROGRAM, prints "pid P" as the first line of standard
// output once it has started, and as the last line "peak-kib N status S": the most resident memory it
// held, in KiB, and its exit status. A SIGTERM to this program is passed on to PROGRAM.
//
// The benchmark starts its measured programs through this small one rather than directly: a child's
// peak as the kernel keeps it includes the memory of the process that started it, and this one holds
// almost none.
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

extern char** environ;

namespace {

volatile std::sig_atomic_t child = 0;

void PassOn(int signal) {
    if (child > 0) {
        kill(static_cast<pid_t>(child), signal);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs("usage: tamsel-bench-peak PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    struct sigaction passOn {};
    passOn.sa_handler = PassOn;
    sigaction(SIGTERM, &passOn, nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
        std::perror(argv[1]);
        return 127;
    }
    child = pid;
    std::printf("pid %d\n", static_cast<int>(pid));
    std::fflush(stdout);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("wait4");
            return 127;
        }
    }
    const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("peak-kib %ld status %d\n", usage.ru_maxrss, exitStatus);
    return 0;
}
