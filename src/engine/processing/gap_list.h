// The rows of the gap list: every run of frames where a mark is not seen, and the suspect
// stretches of the jump and swap detector, one row each.
#pragma once

#include <vector>

#include "engine/model/capture_model.h"

enum class GapRowKind { gap, jump, swap };

struct GapRow {
    int mark;
    int first;  // frames from 0, both included
    int last;
    GapRowKind kind;

    int frames() const { return last - first + 1; }
};

// Every gap of `data` (a mark lost everywhere is one gap over the whole capture), then the
// suspect stretches, in mark order and, within a mark, by first frame.
std::vector<GapRow> gap_list(const CaptureData& data);

// The row's length in seconds at the capture's rate (its frame count when the rate is unknown).
double gap_row_seconds(const CaptureData& data, const GapRow& row);

// "gap", "jump" or "swap".
const char* gap_row_kind_name(GapRowKind kind);
