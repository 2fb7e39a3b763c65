// Runs a program to its end and reports its resource use. Benchmarks start their anchors through
// this small process: a child started straight from a benchmark inherits the benchmark's peak
// resident size in what the kernel reports for it, a child of this process only this one's.
//   anchor-launch PROGRAM [ARG...]
// The program keeps this process's environment and streams; after it ends, one line on standard
// output: "anchor-launch exit=E signal=S maxrss_kb=K user_s=U system_s=Y". Exit code 0 when the
// line is written (whatever the program's own), 2 when the program cannot be started.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

extern char** environ;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: anchor-launch PROGRAM [ARG...]\n");
        return 2;
    }
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
        std::fprintf(stderr, "anchor-launch: cannot start %s\n", argv[1]);
        return 2;
    }
    int status = 0;
    struct rusage usage = {};
    if (wait4(pid, &status, 0, &usage) != pid) return 2;
    std::fflush(stdout);
    std::printf("\nanchor-launch exit=%d signal=%d maxrss_kb=%ld user_s=%ld.%06ld system_s=%ld.%06ld\n",
                WIFEXITED(status) ? WEXITSTATUS(status) : -1, WIFSIGNALED(status) ? WTERMSIG(status) : 0,
                usage.ru_maxrss, static_cast<long>(usage.ru_utime.tv_sec), static_cast<long>(usage.ru_utime.tv_usec),
                static_cast<long>(usage.ru_stime.tv_sec), static_cast<long>(usage.ru_stime.tv_usec));
    return 0;
}
