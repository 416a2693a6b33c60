// The Butterworth filter and the cutoff suggestion on a capture as the Proceed command,
// the "Suggest" button and zemo-cli report them.
#pragma once

#include <vector>

#include "engine/processing/butterworth_filter.h"
#include "engine/processing/residual_cutoff.h"

// Filters the channels over first..last, then shows "Filter Finished. ..." with the channels
// filtered and the stretches too short, and logs the run. A refused cutoff shows only its reason.
FilterOutcome run_filter(CaptureData& data, int first_frame, int last_frame, const std::vector<int>& channels,
                         double cutoff, int order);

// The residual analysis of the channels over first..last: one history line per mark and one for
// the whole selection. Shows an error when nothing could be analysed (overall is 0 then).
CutoffSuggestion run_suggest_cutoff(const CaptureData& data, int first_frame, int last_frame,
                                    const std::vector<int>& channels, int order);
