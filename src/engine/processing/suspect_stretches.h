// Suspect stretches of a capture: frames where a mark jumps away from its path and comes back,
// or where two marks exchange their positions between one frame and the next; and the cut that
// makes such a stretch lost so that a fill can mend it.
#pragma once

#include <vector>

#include "engine/model/capture_model.h"

enum class SuspectKind { jump, swap };

struct SuspectStretch {
    int mark;
    int first;  // frames from 0, both included
    int last;
    SuspectKind kind;
};

struct SuspectSearch {
    std::vector<SuspectStretch> stretches;  // by mark, then by first frame
    double threshold = 0;                   // the acceleration limit used, capture units per second²
};

// Finds the suspect stretches of every mark of `data`. A frame is suspect when the acceleration
// over it (the second difference of its position times the rate squared) exceeds `threshold`,
// in capture units per second²; 0 chooses it from the capture's own spread of accelerations.
// A frame next to a lost one has no acceleration, so nothing is reported across lost frames.
SuspectSearch find_suspect_stretches(const CaptureData& data, double threshold = 0);

// The limit find_suspect_stretches chooses for `data` when given none.
double default_jump_threshold(const CaptureData& data);

// Makes the stretch's frames of its mark lost and updates the lost count. Returns the number of
// samples that were not lost before.
int cut_stretch(CaptureData& data, const SuspectStretch& stretch);

// "jump" or "swap".
const char* suspect_kind_name(SuspectKind kind);
