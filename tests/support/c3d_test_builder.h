// Builds C3D files byte by byte for the tests, in any of the three processor encodings and
// either storage, independently of the program's own writer.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/formats/c3d/c3d_numbers.h"

// A parameter of a further group: numbers (type 1, 2 or 4) or strings.
struct C3dParameterBuild {
    std::string name;
    int type = 4;
    std::vector<int> dims;
    std::vector<double> numbers;
    std::vector<std::string> strings = {};  // written as a character array when not empty
};

struct C3dGroupBuild {
    std::string name;
    std::vector<C3dParameterBuild> parameters;
};

struct C3dBuild {
    C3dProcessor processor = C3dProcessor::intel;
    bool floats = true;
    float scale = 0.5f;  // |POINT:SCALE|; written negative for floating-point storage
    float rate = 100.0f;
    int frames = 3;
    std::vector<std::string> labels{"A", "B"};
    // Extra POINT parameters of labels, such as {"ANGLES", {"LHipAngles"}}.
    std::vector<std::pair<std::string, std::vector<std::string>>> label_groups;
    // x, y, z and the residual word of point p at frame f, as stored (before scaling).
    std::function<std::array<double, 4>(int p, int f)> point = [](int p, int f) {
        return std::array<double, 4>{10.0 * p + f + 1, 20.0 * p + 2 * f + 2, -30.0 * p - f - 3, 1};
    };
    int analog_channels = 0;  // ANALOG:USED
    int analog_per_frame = 1;  // analog samples per point frame
    int labels_in_first = 1000;  // LABELS holds at most this many, the rest go to LABELS2
    bool point_parameters = true;  // POINT:USED, SCALE, RATE, DATA_START written
    // Stored value of analog word w (sample s * channels + channel) at frame f.
    std::function<double(int f, int w)> analog;
    // More groups, each with its parameters (ids from 3 on; "ANALOG" adds to that group).
    std::vector<C3dGroupBuild> groups;
};

std::string build_c3d(const C3dBuild& build);

// Writes a 16-bit word / float into bytes at `offset` in the build's encoding (for corrupting
// a built file in place).
void put_c3d_int16(std::string& bytes, size_t offset, int value, C3dProcessor processor);
