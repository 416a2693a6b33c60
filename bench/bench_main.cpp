// zemo-bench: each measurement is one line "NAME VALUE UNIT"; comparisons with a baseline
// measured in the same run are "NAME_speedup RATIO x".
//   zemo-bench              the benchmarks that need no display (idf)
//   zemo-bench idf          IDF reading and writing
//   zemo-bench view CAPTURE playback of the real window (needs a display)
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

void bench_idf();
int bench_view(const std::string& capture);

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    if (argc == 1 || (argc == 2 && std::strcmp(argv[1], "idf") == 0)) {
        bench_idf();
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "view") == 0) return bench_view(argv[2]);
    std::fprintf(stderr, "usage: zemo-bench [idf | view CAPTURE]\n");
    return 2;
}
