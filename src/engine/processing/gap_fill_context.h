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
    const UnseenRuns unseen;

    // The donors of `mark`, ranked on first use.
    const DonorRanking& ranking(int mark);

    // Finds what every fill may read (the unseen runs of every mark and, when `with_donors`, the
    // table donors are ranked on, and the rankings when most marks are filled), on `threads`
    // threads, so that threads can then fill different marks at once.
    void prepare_for_threads(int threads, bool with_donors, int marks_filled);

private:
    DonorTable table_;
    std::vector<DonorRanking> rankings_;
    std::vector<char> ranked_;  // not vector<bool>: threads rank marks side by side
};

// The fill of `gap` of `mark` (seen on the frames just before and after), computed without
// writing. `donors` empty: chosen by the fill. A rigid fill whose donors it chose falls back to the
// spline when no three of them can be used.
GapFillResult fill_gap(FillContext& context, int mark, FrameRun gap, FillMethod method, const std::vector<int>& donors);

// Writes the natural spline through the mark's seen coordinates (less those of frames in
// `hidden`) into the coordinates of out[0..] that are lost or hidden, for the frames of `gap`.
void spline_fill_gap(const Sample* samples, FrameRun gap, int first_frame, int last_frame, FrameRun hidden,
                     Sample* out);

// The straight line between the frames just before and after `gap`, into the lost coordinates of
// out[0..].
void linear_fill_gap(const Sample* samples, FrameRun gap, Sample* out);

// "rigid:A,B,C", the donors named.
std::string rigid_method_name(const CaptureData& data, const DonorTriple& triple);

// The automatic fill tries this many of the best donor triples, and the straight line on gaps of
// at most this many frames (on longer ones it is never closer than the spline).
constexpr int AUTO_TRIPLES_TRIED = 5;
constexpr int LINEAR_LONGEST_GAP = 2;

// One way of filling a gap.
struct FillCandidate {
    enum Kind { spline, linear, rigid } kind;
    DonorTriple triple;  // of a rigid fill
};

// Writes the candidate's fill of `gap` into out[0..]: the lost coordinates, and every coordinate of
// the frames in `hidden` (which the fill must not use; a rigid fill leaves out the frames where its
// donors are not seen). False when it cannot be made.
bool candidate_fill(FillContext& context, const FillCandidate& candidate, int mark, FrameRun gap, FrameRun hidden,
                    Sample* out);

// "spline", "linear" or "rigid:A,B,C".
std::string candidate_name(const CaptureData& data, const FillCandidate& candidate);

// Fills `gap` with the candidate that comes closest on stretches of the mark's own seen frames, or
// with a blend of the two closest when that comes closer still, and estimates its error there.
// Not filled when no candidate can be made.
GapFillResult fill_by_candidates(FillContext& context, int mark, FrameRun gap,
                                 const std::vector<FillCandidate>& candidates);
