// The rows of the gap list: every run of frames where a mark is not seen, and the suspect
// stretches of the jump and swap detector, one row each.
#pragma once

#include <limits>
#include <string>
#include <vector>

#include "engine/model/capture_model.h"

enum class GapRowKind { gap, jump, swap, filled };

struct GapRow {
    int mark;
    int first;  // frames from 0, both included
    int last;
    GapRowKind kind;
    double estimated_error = std::numeric_limits<double>::quiet_NaN();  // of a filled gap's fill

    int frames() const { return last - first + 1; }
};

// Every gap of `data` (a mark lost everywhere is one gap over the whole capture), the suspect
// stretches, and the gaps filled since opening whose samples still hold that fill, in mark order
// and, within a mark, by first frame.
std::vector<GapRow> gap_list(const CaptureData& data);

// The row's length in seconds at the capture's rate (its frame count when the rate is unknown).
double gap_row_seconds(const CaptureData& data, const GapRow& row);

// Notes that a fill wrote mark's frames first..last, for the gap list.
void note_filled_gap(CaptureData& data, const FilledGapNote& note);

// "gap", "jump", "swap" or "filled".
const char* gap_row_kind_name(GapRowKind kind);
