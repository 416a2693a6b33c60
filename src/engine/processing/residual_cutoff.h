// The cutoff chosen from the data by residual analysis (Winter): the RMS difference between the
// raw and the filtered signal falls as the cutoff rises, steeply while signal is removed and then
// along a straight line while only noise is; the line meets 0 Hz at the noise level, and the
// suggested cutoff is the lowest whose residual has fallen to it.
#pragma once

#include <vector>

#include "engine/model/capture_model.h"

// Cutoffs are tried from this value up to the highest the rate allows, in steps of it.
constexpr double RESIDUAL_STEP = 0.5;

struct MarkCutoff {
    int mark;
    double cutoff;  // Hz; 0 when the mark has no stretch long enough to filter
};

struct CutoffSuggestion {
    bool refused = false;          // the rate allows too few cutoffs to fit a line: the message was shown
    std::vector<MarkCutoff> marks;  // in the order asked
    double overall = 0;            // from the residuals of every mark together; 0 when none
};

// The residual at each cutoff, and the cutoff Winter's analysis picks from them: the lowest whose
// residual falls to the intercept of the line fitted to the upper half of the cutoffs (the
// highest cutoff when none does). Needs at least four cutoffs; 0 otherwise.
double winter_cutoff(const std::vector<double>& cutoffs, const std::vector<double>& residuals);

// The suggested cutoff of each of `marks` over first..last for a filter of `order`, and of all of
// them together.
CutoffSuggestion residual_cutoff(const CaptureData& data, const std::vector<int>& marks, int first_frame,
                                 int last_frame, int order);
