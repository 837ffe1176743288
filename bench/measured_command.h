// A program run to its end, with its wall-clock and processor times and its
// peak memory, for the benchmarks that time the command.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace vantel::bench {

struct Measured_run {
    double wall = 0;  // seconds
    double cpu = 0;   // seconds of processor time, every thread
    long peak_mb = 0;
};

// Runs arguments[0] with the rest as its arguments and waits for it; says so
// when it fails.
inline Measured_run run_measured(std::vector<std::string> arguments)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (std::string& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Measured_run m;
    m.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
            usage.ru_stime.tv_usec * 1e-6;
    m.peak_mb = usage.ru_maxrss / 1024;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::printf("  %s failed (status %d)\n", arguments[0].c_str(), status);
    return m;
}

}  // namespace vantel::bench
