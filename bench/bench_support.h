#pragma once

#include <chrono>
#include <cstdio>
#include <string>

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

} // namespace bench
