#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace bench {

// The best of a few runs, in seconds.
template <typename Work> double bestSeconds(Work&& work, int runs = 3) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

// The limit an output is measured against: one fwrite of a buffer of its size to a file, flushed.
inline double fwriteSeconds(std::size_t size) {
    const std::string buffer(size, 'x');
    const std::string path =
        std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/tesselor-bench.bin";
    const double seconds = bestSeconds([&] {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(buffer.data(), 1, buffer.size(), file);
        std::fclose(file);
    });
    std::remove(path.c_str());
    return seconds;
}

inline void report(const char* what, std::size_t bytes, double seconds, double limit) {
    std::printf("%-44s %11zu bytes  %9.4f s  limit %9.4f s  ratio %6.2f\n", what, bytes, seconds, limit,
                seconds / limit);
}

// A whole process run to its end: its wall and CPU seconds and its peak resident memory.
struct Process {
    bool ok = false; // exited with 0
    double seconds = 0;
    double cpuSeconds = 0;
    double peakMb = 0;
};
inline Process runProcess(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, elapsed.count(),
            double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6,
            double(usage.ru_maxrss) / 1024.0};
}

} // namespace bench
