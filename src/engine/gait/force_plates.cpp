// Force plate arithmetic. The plate's axes come from its corners (corner 1 in the +x +y quadrant,
// 2 in -x +y, 4 in +x -y), the surface's middle is the corners' mean, and ORIGIN locates that
// middle from the plate's measuring origin in the plate's axes (its z negative when the origin
// lies below the surface). Moments about the origin are r x F plus the free moment about the
// plate's z, r the centre of pressure on the surface.
#include "engine/gait/force_plates.h"

#include <cmath>
#include <limits>

namespace {

Sample minus(const Sample& a, const Sample& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

Sample unit(const Sample& v) {
    const double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return n > 0 ? Sample{v.x / n, v.y / n, v.z / n} : Sample{0, 0, 0};
}

Sample cross(const Sample& a, const Sample& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A vector given in the plate's axes, in the lab's.
std::array<double, 3> to_lab(const PlateFrame& frame, double x, double y, double z) {
    const Sample* a = frame.axes;
    return {a[0].x * x + a[1].x * y + a[2].x * z, a[0].y * x + a[1].y * y + a[2].y * z,
            a[0].z * x + a[1].z * y + a[2].z * z};
}

std::array<float, 3> as_floats(const std::array<double, 3>& v) {
    return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

size_t channels_needed(int type) { return type == 3 ? 8 : 6; }

}  // namespace

PlateFrame plate_frame(const ForcePlate& plate) {
    const auto& c = plate.corners;
    PlateFrame frame;
    const Sample x = unit(minus(c[0], c[1]));
    const Sample z = unit(cross(x, unit(minus(c[0], c[3]))));
    frame.axes[0] = x;
    frame.axes[1] = cross(z, x);
    frame.axes[2] = z;
    frame.centre = {(c[0].x + c[1].x + c[2].x + c[3].x) / 4, (c[0].y + c[1].y + c[2].y + c[3].y) / 4,
                    (c[0].z + c[1].z + c[2].z + c[3].z) / 4};
    return frame;
}

std::vector<PlateSample> plate_forces(const C3dTrial& trial, const ForcePlate& plate, int zero_first, int zero_last) {
    std::vector<PlateSample> out;
    const size_t needed = channels_needed(plate.type);
    if (plate.type < 1 || plate.type > 4 || plate.channels.size() < needed) return out;
    for (size_t k = 0; k < needed; ++k) {
        if (plate.channels[k] < 0 || plate.channels[k] >= trial.channel_count()) return out;
    }
    if (plate.type == 4 && plate.calibration.size() < 36) return out;
    const size_t samples = trial.sample_count();

    // The baseline: each channel's mean over the ZERO frames.
    double baseline[8] = {};
    const int per_frame = trial.samples_per_frame;
    const size_t lo = static_cast<size_t>(std::max(zero_first, 1) - 1) * per_frame;
    const size_t hi = std::min(samples, static_cast<size_t>(std::max(zero_last, 0)) * per_frame);
    if ((zero_first != 0 || zero_last != 0) && hi > lo) {
        for (size_t k = 0; k < needed; ++k) {
            double sum = 0;
            for (size_t s = lo; s < hi; ++s) sum += trial.value(s, plate.channels[k]);
            baseline[k] = sum / static_cast<double>(hi - lo);
        }
    }

    const PlateFrame frame = plate_frame(plate);
    // Type 3's ORIGIN gives the sensors' offsets; only its z places the surface.
    const Sample offset = plate.type == 3 ? Sample{0, 0, plate.origin.z} : plate.origin;
    const auto shift = to_lab(frame, offset.x, offset.y, offset.z);
    const Sample origin_lab{frame.centre.x - shift[0], frame.centre.y - shift[1], frame.centre.z - shift[2]};
    const double h = plate.origin.z;  // the surface lies at z = h in the plate's axes
    const double nan = std::numeric_limits<double>::quiet_NaN();

    out.resize(samples);
    for (size_t s = 0; s < samples; ++s) {
        double v[8];
        for (size_t k = 0; k < needed; ++k) v[k] = trial.value(s, plate.channels[k]) - baseline[k];
        double f[3], m[3], px, py, tz;
        if (plate.type == 1) {
            f[0] = v[0], f[1] = v[1], f[2] = v[2];
            px = v[3], py = v[4], tz = v[5];
        } else {
            if (plate.type == 3) {
                const double a = plate.origin.x, b = plate.origin.y;
                f[0] = v[0] + v[1];
                f[1] = v[2] + v[3];
                f[2] = v[4] + v[5] + v[6] + v[7];
                m[0] = b * (v[4] + v[5] - v[6] - v[7]);
                m[1] = a * (-v[4] + v[5] + v[6] - v[7]);
                m[2] = b * (v[1] - v[0]) + a * (v[2] - v[3]);
            } else if (plate.type == 4) {
                double out6[6];
                for (int row = 0; row < 6; ++row) {
                    out6[row] = 0;
                    for (int col = 0; col < 6; ++col) out6[row] += plate.calibration[col * 6 + row] * v[col];
                }
                f[0] = out6[0], f[1] = out6[1], f[2] = out6[2];
                m[0] = out6[3], m[1] = out6[4], m[2] = out6[5];
            } else {
                f[0] = v[0], f[1] = v[1], f[2] = v[2];
                m[0] = v[3], m[1] = v[4], m[2] = v[5];
            }
            px = (h * f[0] - m[1]) / f[2];
            py = (m[0] + h * f[1]) / f[2];
            tz = m[2] - px * f[1] + py * f[0];
        }
        PlateSample& sample = out[s];
        sample.force = as_floats(to_lab(frame, f[0], f[1], f[2]));
        if (std::fabs(f[2]) >= COP_THRESHOLD) {
            const auto r = to_lab(frame, px, py, h);
            sample.cop = as_floats({origin_lab.x + r[0], origin_lab.y + r[1], origin_lab.z + r[2]});
            sample.moment = as_floats(to_lab(frame, 0, 0, tz));
        } else {
            sample.cop = sample.moment = as_floats({nan, nan, nan});
        }
    }
    return out;
}

double body_weight_estimate(const C3dTrial& trial) {
    double peak = 0;
    for (const auto& series : trial.forces) {
        for (const PlateSample& s : series) {
            const double f = std::sqrt(double(s.force[0]) * s.force[0] + double(s.force[1]) * s.force[1] +
                                       double(s.force[2]) * s.force[2]);
            if (std::isfinite(f) && f > peak) peak = f;
        }
    }
    return peak > COP_THRESHOLD ? peak / 1.2 : 700.0;
}
