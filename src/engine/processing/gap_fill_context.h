// What filling gaps needs to know about the capture beyond one gap (the unseen runs of every mark,
// the donors ranked for each mark), worked out once for a whole run of fills, and the fill of one
// gap from it.
#pragma once

#include <vector>

#include "engine/processing/donor_fill.h"
#include "engine/processing/single_gap_fill.h"

class FillContext {
public:
    // Fills are worked out over first_frame..last_frame: nothing outside is read.
    FillContext(const CaptureData& data, int first_frame, int last_frame);

    const CaptureData& data;
    const int first_frame;
    const int last_frame;
    const std::vector<std::vector<FrameRun>> unseen;

    // The donors of `mark`, ranked on first use.
    const DonorRanking& ranking(int mark);

private:
    DonorTable table_;
    std::vector<DonorRanking> rankings_;
    std::vector<bool> ranked_;
};

// The fill of `gap` of `mark` (seen on the frames just before and after), computed without
// writing. `donors` empty: chosen by the fill. A rigid fill whose donors it chose falls back to the
// spline when no three of them can be used.
GapFillResult fill_gap(FillContext& context, int mark, FrameRun gap, FillMethod method, const std::vector<int>& donors);

// Writes the natural spline through the mark's seen coordinates (less those of frames in
// `hidden`) into the coordinates of out[0..] that are lost or hidden, for the frames of `gap`.
void spline_fill_gap(const Sample* samples, FrameRun gap, int first_frame, int last_frame, FrameRun hidden,
                     Sample* out);

// "rigid:A,B,C", the donors named.
std::string rigid_method_name(const CaptureData& data, const DonorTriple& triple);
