// Repair and smoothing of chosen channels of a capture as the Proceed command reports them: the
// closing message, the new lost count and the history line.
#pragma once

#include <vector>

#include "engine/processing/gap_fill.h"

// Repairs the channels over first..last, shows "Error Correction Finished. ..." with the numbers
// of corrected and remaining lost coordinates, stores the remaining count and logs the run.
void run_repair(CaptureData& data, int first_frame, int last_frame, const std::vector<int>& channels);

// Smooths the channels (each refused one shows its own message), then "Smooth Finished." and
// the history line.
void run_smooth(CaptureData& data, int first_frame, int last_frame, const std::vector<int>& channels, int factor);

// Fills the channels' gaps over first..last (longer than max_gap stay lost, 0: no limit), shows
// "Gap Filling Finished. ..." with the numbers of filled gaps and remaining lost coordinates,
// stores the remaining count and logs the run. Returns the gaps filled. With `donors` every gap is
// filled from those three marks, and those they are not seen across go to left_lost.
std::vector<FilledGap> run_fill(CaptureData& data, int first_frame, int last_frame, const std::vector<int>& channels,
                                FillMethod method, int max_gap, const std::vector<int>& donors = {},
                                std::vector<UnfilledGap>* left_lost = nullptr);

// Every channel of the capture, in mark order.
std::vector<int> all_channels(const CaptureData& data);
