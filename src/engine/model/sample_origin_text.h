// What users read about where a sample came from: the short word for its origin, and how many
// samples of a layer were computed rather than measured.
#pragma once

#include "engine/model/capture_model.h"

// "measured", "lost", "computed", "repair", ... for frame `frame` of mark `mark`; a lost sample
// says "lost" whatever origin it keeps.
const char* sample_origin_text(const CaptureData& data, int mark, int frame);

// The samples of `data` that are not lost and whose origin is anything but measured.
long count_computed_samples(const CaptureData& data);

// Whether a sample with this origin was computed (by Zemo or by another program).
inline bool origin_is_computed(SampleOrigin origin) { return origin != SampleOrigin::measured; }
