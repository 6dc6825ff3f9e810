// tamsel-bench-peak PROGRAM [ARGUMENT...]: runs PROGRAM and then prints, as the last line of standard
// output, "peak-kib N status S": the most resident memory it held, in KiB, and its exit status.
//
// The benchmark starts its measured children through this small program rather than directly: a
// child's peak as the kernel keeps it includes the memory of the process that started it, and this
// one holds almost none.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>

extern char** environ;

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs("usage: tamsel-bench-peak PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
        std::perror(argv[1]);
        return 127;
    }
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
