// Filling one gap of a mark from the rigid motion of three donor marks.
#pragma once

#include <array>
#include <vector>

#include "engine/model/capture_model.h"
#include "engine/processing/donor_ranking.h"

// A run of frames first..last where a mark is not seen (some coordinate lost).
struct FrameRun {
    int first;
    int last;
};

// The runs of frames where each mark of `data` is not seen, over first..last, in frame order,
// found for a mark the first time they are asked for: a fill of one gap needs a few marks only.
// Once find_every_mark has run, the runs can be read from several threads at once.
class UnseenRuns {
public:
    UnseenRuns(const CaptureData& data, int first_frame, int last_frame);
    const std::vector<FrameRun>& operator[](int mark) const;
    // The runs of every mark, found on `threads` threads.
    void find_every_mark(int threads) const;

private:
    const CaptureData& data_;
    int first_frame_;
    int last_frame_;
    mutable std::vector<std::vector<FrameRun>> runs_;
    mutable std::vector<char> found_;  // not vector<bool>: threads set marks side by side
};

// Three donor marks, by index.
using DonorTriple = std::array<int, 3>;

// Up to `wanted` triples of donors seen on every frame of `across` (the gap with a frame on each
// side), made of the best donors of `ranking` and fixing a rotation on the first and last frame
// of `across`, the least spread first (a triple's spread is the sum of its donors'). Returns how
// many were written to out.
int best_donor_triples(const CaptureData& data, const UnseenRuns& unseen,
                       const DonorRanking& ranking, FrameRun across, int wanted, DonorTriple* out);

// Estimates the mark over gap.first..gap.last into out[0..length-1] from the motion of `triple`,
// which must be seen on every frame from before the gap to after it, as the mark must be on the
// frames just before and after. False when the donors do not fix a rotation on some frame. With
// `skip_unseen` the donors need only be seen just before and after, and frames where one is not
// seen are left as they are in out; with a `stride` above 1 only every stride-th frame is
// estimated, from the middle of the first stride. `disagreement`, when given, receives the RMS of
// half the distance between the estimates carried forward and back, a rough measure of how far
// the donors are from moving rigidly with the mark.
bool rigid_fill_from(const CaptureData& data, const DonorTriple& triple, int mark, FrameRun gap, Sample* out,
                     bool skip_unseen = false, int stride = 1, double* disagreement = nullptr);

// True when no run of `runs` (in frame order) meets first..last.
bool seen_throughout(const std::vector<FrameRun>& runs, int first, int last);
