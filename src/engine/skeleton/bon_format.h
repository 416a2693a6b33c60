// The BON skeleton file: a header line with the numbers of marks and bones, one line per mark
// (colour, visible) and one per bone (origin, destination, colour), all decimal integers.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/capture_model.h"

// A skeleton as a file gives it, before it replaces the skeleton of the working copy.
struct Skeleton {
    int mark_count = 0;
    std::vector<MarkStyle> mark_styles;  // mark_count entries
    int bone_count = 0;
    std::array<Bone, MAX_BONES> bones{};
};

// Parses BON text for a layer of `marks` marks. Numbers are separated by any run of blanks, tabs
// and line ends. Returns 0 with `out` filled, or 1 with the message that says what is wrong and
// on which line; `out` may then hold part of the file and must not be used.
int bon_parse(std::string_view text, int marks, Skeleton& out, std::string& error);

// Writes the skeleton of `data`: its num_columns / 3 mark styles and its bone_count bones.
// False when the stream fails.
bool bon_write_stream(const CaptureData& data, FILE* out);
