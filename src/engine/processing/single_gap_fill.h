// Filling one gap of one mark: worked out without touching the capture (so the interface can show
// it before the user applies it), then written with its origins by a second call.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "engine/model/capture_model.h"
#include "engine/processing/gap_fill.h"

struct GapFillResult {
    bool filled = false;
    std::vector<Sample> values;  // one per frame first..last; coordinates that were seen are kept
    SampleOrigin origin = SampleOrigin::fill_spline;
    // "spline", "linear", "rigid:A,B,C" or "blend:spline+rigid:A,B,C" (the donors' names).
    std::string method;
    double estimated_error = NAN;  // the fill's expected RMSE in capture units; NaN when unknown
    std::vector<int> donors;       // the three donor marks of a rigid fill or blend
    std::string reason;            // why the gap was not filled
};

// The fill of mark's frames first..last with `method`, from the capture as it is; nothing is
// written. `donors` are three marks to fill from (with rigid or auto), or empty to let the fill
// choose them. The frames just before and after must be seen; otherwise, or when the donors are
// not seen across, the result is not filled and `reason` says why.
GapFillResult fill_one_gap(const CaptureData& data, int mark, int first, int last, FillMethod method,
                           const std::vector<int>& donors);

// Writes a filled result of fill_one_gap into mark's frames from `first` with their origin, and
// tells that the samples changed.
void apply_gap_fill(CaptureData& data, int mark, int first, const GapFillResult& fill);

// The marks seen on every frame from first - 1 to last + 1, those moving most rigidly with `mark`
// first: the donors a user can choose from.
std::vector<int> donor_candidates(const CaptureData& data, int mark, int first, int last);
