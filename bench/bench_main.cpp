// zemo-bench: each measurement is one line "NAME VALUE UNIT"; comparisons with a baseline
// measured in the same run are "NAME_speedup RATIO x".
//   zemo-bench              the benchmarks that need no display (idf, c3d, processing, diagnose)
//   zemo-bench idf          IDF reading and writing
//   zemo-bench c3d          C3D writing and reading of the same capture, and a gait lab's with its analog data
//   zemo-bench processing   repair, smoothing and the Butterworth filter of every channel
//   zemo-bench fill         accuracy of the gap fills on real captures, and the fill of every channel
//   zemo-bench diagnose     the expert-system run, and one inference against fuzzylite
//   zemo-bench batch        zemo-cli fill over 40 captures, two worker processes against one
//   zemo-bench view CAPTURE playback of the real window (needs a display)
//   zemo-bench layers       ten full-size layers open and played in the real window (needs a display)
#include <clocale>
#include <cstdio>
#include <string>

void bench_idf();
void bench_c3d();
void bench_c3d_analog();
void bench_processing();
void bench_filter();
void bench_fill();
void bench_diagnose();
void bench_batch();
int bench_view(const std::string& capture);
int bench_layers();

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    const std::string name = argc > 1 ? argv[1] : "";
    if (argc == 1 || (argc == 2 && name == "idf")) bench_idf();
    if (argc == 1 || (argc == 2 && name == "c3d")) {
        bench_c3d();
        bench_c3d_analog();
    }
    if (argc == 1 || (argc == 2 && name == "processing")) {
        bench_processing();
        bench_filter();
    }
    if (argc == 1 || (argc == 2 && name == "fill")) bench_fill();
    if (argc == 1 || (argc == 2 && name == "diagnose")) bench_diagnose();
    if (argc == 2 && name == "batch") {
        bench_batch();
        return 0;
    }
    if (argc == 1 || (argc == 2 && (name == "idf" || name == "c3d" || name == "processing" || name == "fill" || name == "diagnose"))) return 0;
    if (argc == 3 && name == "view") return bench_view(argv[2]);
    if (argc == 2 && name == "layers") return bench_layers();
    std::fprintf(stderr, "usage: zemo-bench [idf | c3d | processing | fill | diagnose | batch | view CAPTURE | layers]\n");
    return 2;
}
