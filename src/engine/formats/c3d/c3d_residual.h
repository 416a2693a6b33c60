// The residual word of a C3D point: camera mask in the high byte, residual in the low byte, -1
// (any negative word) when the point is lost, 0 when a program computed it rather than cameras
// measured it. Floating-point files hold the word as a float, some of them unsigned.
#pragma once

#include "engine/model/capture_model.h"

inline bool c3d_residual_says_lost(double residual) {
    return residual < 0 || (residual >= 32768 && residual <= 65535);
}

// The smallest residual that still says "measured".
constexpr float C3D_MEASURED_RESIDUAL = 1.0f;

// The word written for frame f of a mark whose value is `lost` or not. A measured value keeps
// the word its file gave it, or, when it has none, the smallest positive residual; a value that
// anything computed (its origin, or a file word that said lost or computed) gets 0; a lost value
// -1, unless it was lost in its file already, whose word it then keeps.
inline float c3d_residual_to_write(const Channel& channel, int f, bool lost) {
    const bool measured = channel.origin(f) == SampleOrigin::measured;
    if (lost) return measured && channel.residuals ? channel.residuals[f] : -1.0f;
    if (!measured) return 0.0f;
    if (!channel.residuals) return C3D_MEASURED_RESIDUAL;
    const float word = channel.residuals[f];
    return c3d_residual_says_lost(word) ? 0.0f : word;
}
