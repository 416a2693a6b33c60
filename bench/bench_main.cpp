// zemo-bench: each measurement is one line "NAME VALUE UNIT"; comparisons with a baseline
// measured in the same run are "NAME_speedup RATIO x". Name benchmarks to run only those.
#include <clocale>
#include <cstdio>
#include <cstring>

void bench_idf();

namespace {

struct Benchmark {
    const char* name;
    void (*run)();
};

const Benchmark benchmarks[] = {
    {"idf", bench_idf},
};

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    for (int i = 1; i < argc; ++i) {
        bool known = false;
        for (const Benchmark& b : benchmarks) known |= std::strcmp(argv[i], b.name) == 0;
        if (!known) {
            std::fprintf(stderr, "zemo-bench: unknown benchmark %s\n", argv[i]);
            return 2;
        }
    }
    for (const Benchmark& b : benchmarks) {
        bool chosen = argc == 1;
        for (int i = 1; i < argc; ++i) chosen |= std::strcmp(argv[i], b.name) == 0;
        if (chosen) b.run();
    }
    return 0;
}
