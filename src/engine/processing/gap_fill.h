// The accurate gap fill: each run of frames where a mark is not seen is filled from a natural
// cubic spline through the mark's own seen frames at their real spacing, or from the rigid motion
// of three neighbouring marks that are seen across the gap. It sits beside the chunked repair,
// which stays as it is.
#pragma once

#include <string>
#include <vector>

#include "engine/model/capture_model.h"

enum class FillMethod { spline, rigid, automatic, linear };

// Where the mark is nowhere seen long enough to judge the fills on, the automatic choice uses the
// spline for gaps up to this many frames and neighbouring marks above: a short gap is well
// described by its mark's own motion, a long one is not.
constexpr int AUTO_SPLINE_LONGEST_GAP = 10;

// The longest gap filled unless the user says otherwise: half a second of frames at the capture's
// rate (50 at 100 Hz), at least one frame. Longer gaps are seldom worth inventing a path for.
int default_max_gap(double capture_rate);

// A gap the fill could have tried but left lost, and why.
struct UnfilledGap {
    int mark;
    int first;
    int last;
    std::string reason;
};

struct FillSettings {
    int first_frame = 0;
    int last_frame = 0;
    FillMethod method = FillMethod::automatic;
    int max_gap = 0;  // longer gaps stay lost; 0: no limit
    // Three marks every gap is filled from by their rigid motion; empty: the fill chooses. A gap
    // they are not all seen across stays lost.
    std::vector<int> donors = {};
    std::vector<UnfilledGap>* left_lost = nullptr;  // when given, receives the gaps the donors could not fill
};

// One filled gap: the mark, its first and last lost frame, and how it was filled (spline, linear
// or rigid, rigid for a blend with donors too; the automatic choice never appears here), by name
// as the fill report gives it ("rigid:A,B,C") and with its estimated error (NaN: none).
struct FilledGap {
    int mark;
    int first;
    int last;
    FillMethod method;
    std::string method_name;
    double estimated_error;
};

// Fills the gaps of `marks` in data over the settings' frames. A gap touching the first or last
// frame of the interval has nothing on one side and stays lost, as do gaps over the maximum.
// Coordinates that are not lost never change, and a value filled into one mark is never used
// to fill another: the result does not depend on the order of the marks. Returns every filled
// gap, by mark in the order given, then by frame.
std::vector<FilledGap> fill_gaps(CaptureData& data, const std::vector<int>& marks, const FillSettings& settings);

// "spline", "rigid", "auto" or "linear"; "marks" is read as rigid too.
const char* fill_method_name(FillMethod method);
bool parse_fill_method(const std::string& text, FillMethod& method);
