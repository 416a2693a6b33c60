// A reader in the plain style: header words with fscanf, then fgets and sscanf per data line,
// each sample its own heap block appended to its mark's list (through a tail pointer, so that
// the comparison is with a fair version of that style).
#include "baseline_idf_reader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct SampleNode {
    double x, y, z;
    SampleNode* next;
};

}  // namespace

long long baseline_idf_read(const std::string& path) {
    FILE* in = std::fopen(path.c_str(), "r");
    if (!in) return -1;
    char word[500];
    int rate = 0, columns = 0, frames = 0, number = 0;
    if (std::fscanf(in, "%499s", word) != 1 || std::fscanf(in, "%499s %d", word, &rate) != 2 ||
        std::fscanf(in, "%499s %d", word, &columns) != 2 || std::fscanf(in, "%499s %d", word, &frames) != 2) {
        std::fclose(in);
        return -1;
    }
    const int marks = columns / 3;
    if (marks < 1) {
        std::fclose(in);
        return -1;
    }
    std::vector<SampleNode*> heads(marks), tails(marks);
    std::fscanf(in, "%499s", word);  // CHANNEL_NAMES
    for (int k = 0; k < columns; ++k) std::fscanf(in, "%499s %d", word, &number);
    char line[500];
    while (std::fgets(line, sizeof line, in) && line[0] != '0') {
    }
    long long samples = 0;
    SampleNode* sample = nullptr;
    int in_sample = 0;
    for (long long i = 0; i < static_cast<long long>(frames) * columns; ++i) {
        if (i > 0 && !std::fgets(line, sizeof line, in)) break;
        int column, frame;
        double value;
        if (std::sscanf(line, "%d %d %lf", &column, &frame, &value) != 3) break;
        if (in_sample == 0) sample = static_cast<SampleNode*>(std::malloc(sizeof(SampleNode)));
        (column % 3 == 0 ? sample->x : column % 3 == 1 ? sample->y : sample->z) = value;
        if (++in_sample == 3) {
            const int m = column / 3;
            sample->next = nullptr;
            if (tails[m]) tails[m]->next = sample; else heads[m] = sample;
            tails[m] = sample;
            in_sample = 0;
            ++samples;
        }
    }
    std::fclose(in);
    for (int m = 0; m < marks; ++m) {
        for (SampleNode* node = heads[m]; node;) {
            SampleNode* next = node->next;
            std::free(node);
            node = next;
        }
    }
    return samples;
}
