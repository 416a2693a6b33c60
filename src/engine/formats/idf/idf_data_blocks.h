// The data lines of an IDF capture read on several cores: the text is cut into blocks that
// start at a line of column 0, each block is read on its own thread, and the blocks are then
// checked to follow one another without a line missing.
#pragma once

#include <string_view>

#include "engine/model/capture_model.h"

struct IdfDataTarget {
    int columns = 0;
    int frames = 0;
    Sample* const* samples = nullptr;  // one array of `frames` per mark, for the first columns / 3 * 3 columns
};

// Reads `text`, the data lines that follow the first one (column 0 of frame 0), into `target`
// on `threads` threads. True with the lost coordinates counted when every line is in its place
// up to the last one needed; false when anything is amiss: the caller then reads the lines one
// by one to name the first line at fault, and writes every sample again.
bool idf_read_data_blocks(std::string_view text, const IdfDataTarget& target, int threads, long long& lost);
