// Scene decisions in plain arithmetic.
#include "engine/scene/scene_math.h"

#include <cmath>

int clamp_frame(int frame, int num_frames) {
    if (frame > num_frames - 1) frame = num_frames - 1;
    return frame < 0 ? 0 : frame;
}

int frame_to_draw(int slider_frame, int initial_frame, int num_frames) {
    return clamp_frame(slider_frame + initial_frame, num_frames);
}

ScenePoint scene_position(const Sample& s, const ViewTransform& t) {
    const double factor = 1.0 + t.scale;
    return {t.offset_x + factor * s.x, t.offset_y + factor * s.y, t.offset_z + factor * s.z};
}

bool scene_point_lost(const ScenePoint& p, const ViewTransform& t) { return !(p.x < (1.0 + t.scale) * 999998.0); }

int layer_alpha(double opacity) { return static_cast<int>(opacity * 255); }

void trail_copies(int step, int frame, double bone_radius, std::vector<TrailCopy>& out) {
    out.clear();
    if (step <= 0) return;
    for (int t = 0; t < frame; t += step) {
        const double share = static_cast<double>(t) / frame;
        out.push_back({t, static_cast<int>(share * 100), share * bone_radius});
    }
}

bool velocity_arrow_drawn(int frame, int num_frames) { return frame >= 1 && frame <= num_frames - 2; }

bool acceleration_arrow_drawn(int frame, int num_frames) { return frame >= 2 && frame <= num_frames - 3; }

SegmentFrame segment_frame(const ScenePoint& a, const ScenePoint& b) {
    const double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    const double angle = length > 0 ? std::acos(dz / length) * 360.0 / 6.283184 : 0.0;
    return {length, angle, -dy, dx};
}

bool bone_drawable(const CaptureData& data, const Bone& bone) {
    const int marks = data.mark_count();
    if (bone.origin < 0 || bone.origin >= marks || bone.destination < 0 || bone.destination >= marks) return false;
    return data.mark_styles[bone.origin].visible && data.mark_styles[bone.destination].visible;
}
