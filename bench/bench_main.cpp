// zemo-bench: each measurement is one line "NAME VALUE UNIT"; comparisons with a baseline
// measured in the same run are "NAME_speedup RATIO x".
//   zemo-bench              the benchmarks that need no display, in the order of the table below
//   zemo-bench NAME         one of them, or batch, or one that needs a display:
//   zemo-bench view CAPTURE playback of the real window
//   zemo-bench layers       ten full-size layers open and played in the real window
#include <clocale>
#include <cstdio>
#include <string>

void bench_idf();
void bench_c3d();
void bench_c3d_memory();
void bench_c3d_analog();
int bench_c3d_peak(const std::string& path, const std::string& way);
void bench_processing();
void bench_filter();
void bench_fill_accuracy();
void bench_fill_speed();
void bench_diagnose();
void bench_check();
void bench_undo();
void bench_batch();
int bench_view(const std::string& capture);
int bench_layers();

namespace {

void bench_c3d_and_memory() {
    bench_c3d();
    bench_c3d_analog();
    bench_c3d_memory();
}

void bench_fill() {
    bench_fill_accuracy();
    bench_fill_speed();
}

void bench_processing_and_filter() {
    bench_processing();
    bench_filter();
}

struct Bench {
    const char* name;
    void (*run)();
    bool by_default;  // run by a bare `zemo-bench`
    const char* what;
};

const Bench benches[] = {
    {"idf", bench_idf, true, "IDF reading and writing"},
    {"c3d", bench_c3d_and_memory, true, "C3D writing and reading of the same capture, a gait lab's with its analog data, and the peak memory of a read"},
    {"processing", bench_processing_and_filter, true, "repair, smoothing and the Butterworth filter of every channel"},
    {"fill", bench_fill, true, "accuracy of the gap fills on real captures, and the fill of every channel"},
    {"fill_speed", bench_fill_speed, false, "the fill of every channel alone"},
    {"diagnose", bench_diagnose, true, "the expert-system run, and one inference against fuzzylite"},
    {"check", bench_check, true, "the jump and swap detector on real captures with faults put in"},
    {"undo", bench_undo, true, "one undo and redo of a fill of every channel"},
    {"batch", bench_batch, false, "zemo-cli fill over 40 captures, two worker processes against one"},
};

int usage() {
    std::fprintf(stderr, "usage: zemo-bench [NAME | view CAPTURE | layers]\n");
    for (const Bench& bench : benches) std::fprintf(stderr, "  %-11s %s\n", bench.name, bench.what);
    std::fprintf(stderr, "  %-11s %s\n", "view", "playback of the real window (needs a display)");
    std::fprintf(stderr, "  %-11s %s\n", "layers", "ten full-size layers open and played in the real window (needs a display)");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    const std::string name = argc > 1 ? argv[1] : "";
    if (argc == 1) {
        for (const Bench& bench : benches)
            if (bench.by_default) bench.run();
        return 0;
    }
    if (argc == 2)
        for (const Bench& bench : benches)
            if (name == bench.name) {
                bench.run();
                return 0;
            }
    if (argc == 4 && name == "c3d-peak") return bench_c3d_peak(argv[2], argv[3]);  // run by bench_c3d_memory
    if (argc == 3 && name == "view") return bench_view(argv[2]);
    if (argc == 2 && name == "layers") return bench_layers();
    return usage();
}
