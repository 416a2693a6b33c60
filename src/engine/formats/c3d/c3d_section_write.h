// The parameter section of a kept C3D file written again: every record as it lay in the file,
// except the few values that must follow the data.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/formats/c3d/c3d_source.h"

struct C3dSectionChanges {
    long long points = 0;     // POINT:USED
    long long frames = 0;     // POINT:FRAMES (at most 65535)
    bool to_floats = false;   // the storage becomes floating point: POINT:SCALE is made negative
    double float_scale = -1;  // the negative POINT:SCALE then written
    std::vector<std::pair<int, std::string>> renamed;  // a point and its new label
    // Records made anew (the index of the one each replaces) and records added at the chain's end.
    std::vector<std::pair<size_t, std::string>> replaced;
    std::vector<std::string> added;
};

// The section's bytes, a whole number of blocks. A record is rewritten only when a value in it
// changes; the section keeps its size unless a record grows past it, and then the data move.
// `data_start_block` receives the data's first block, written into POINT:DATA_START.
std::string c3d_section_written(const C3dSource& source, const C3dSectionChanges& changes, int& data_start_block);
