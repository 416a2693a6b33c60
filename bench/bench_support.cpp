// Measuring helpers for zemo-bench.
#include "bench_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

double best_seconds(int runs, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

long long resident_bytes() {
    long long size = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lld %lld", &size, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

void report(const std::string& name, double value, const std::string& unit) {
    std::printf("%s %.2f %s\n", name.c_str(), value, unit.c_str());
    std::fflush(stdout);
}

static std::string scratch;

static void remove_scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
}

std::string bench_temp_dir() {
    if (scratch.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "zemo-bench-XXXXXX").string();
        scratch = mkdtemp(pattern.data());
        std::atexit(remove_scratch);
    }
    return scratch;
}
