// Repair and smoothing of chosen channels as the Proceed command reports them: the closing
// message, the new lost count and the history line.
#pragma once

#include <vector>

// Repairs the channels over first..last, shows "Error Correction Finished. ..." with the numbers
// of corrected and remaining lost coordinates, stores the remaining count and logs the run.
void run_repair(int first_frame, int last_frame, const std::vector<int>& channels);

// Smooths the channels (each refused one shows its own message), then "Smooth Finished." and
// the history line.
void run_smooth(int first_frame, int last_frame, const std::vector<int>& channels, int factor);

// Every channel of the working copy, in mark order.
std::vector<int> all_channels();
