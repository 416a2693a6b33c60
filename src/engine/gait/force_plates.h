// The force a plate records, from its analog channels, as the C3D format defines each plate type:
// type 1 gives force, centre of pressure and free moment; types 2 and 4 force and moment at the
// plate's origin (4 through its calibration matrix); type 3 eight sensor forces.
#pragma once

#include <vector>

#include "engine/formats/c3d/c3d_trial.h"

// Below this normal force (N) a plate has no centre of pressure.
constexpr double COP_THRESHOLD = 10.0;

// The plate's axes in the lab: columns x, y, z as rows of `axes`, from its corners.
struct PlateFrame {
    Sample axes[3];
    Sample centre;  // the middle of the surface, in the lab
};

PlateFrame plate_frame(const ForcePlate& plate);

// The plate's channels with their baseline removed over point frames first..last (1-based, as
// FORCE_PLATFORM:ZERO gives them; no baseline when the range is empty), then one PlateSample per
// analog sample. Empty for a plate type that is not 1 to 4 or whose channels are missing.
std::vector<PlateSample> plate_forces(const C3dTrial& trial, const ForcePlate& plate, int zero_first, int zero_last);

// The subject's weight (N) as the plates suggest it: the largest force any plate records, less
// the fifth a walk's peak adds; 700 N when no plate records any.
double body_weight_estimate(const C3dTrial& trial);
