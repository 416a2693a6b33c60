// What the scene drawing decides before it calls OpenGL: which frame a layer shows, where a
// sample lands, which pieces are drawn, and how the trail fades.
#pragma once

#include <vector>

#include "engine/model/capture_model.h"

// The placement in effect for the layer being drawn: the current layer's from its widgets,
// any other layer's from its slot.
using ViewTransform = LayerPlacement;

struct ScenePoint {
    double x, y, z;
};

// The slider's frame plus the layer's initial frame, clamped to the capture.
int frame_to_draw(int slider_frame, int initial_frame, int num_frames);

// Clamps a frame to 0 .. num_frames - 1.
int clamp_frame(int frame, int num_frames);

ScenePoint scene_position(const Sample& sample, const ViewTransform& t);
// A segment end is lost when its scene x is not below (1 + scale) x 999998.
bool scene_point_lost(const ScenePoint& p, const ViewTransform& t);

// The alpha byte of a layer: trunc(opacity x 255).
int layer_alpha(double opacity);

struct TrailCopy {
    int frame;
    int alpha;     // trunc(t / frame x 100)
    double radius; // t / frame x bone radius
};

// The copies of the trail at frames 0, step, 2 step, ... below `frame`; none when step <= 0.
// Fills `out` (kept by the caller, so drawing allocates nothing once it has grown).
void trail_copies(int step, int frame, double bone_radius, std::vector<TrailCopy>& out);

bool velocity_arrow_drawn(int frame, int num_frames);
bool acceleration_arrow_drawn(int frame, int num_frames);

// The rotation that turns the z axis onto B - A: angle in degrees about (axis_x, axis_y, 0),
// and the segment's length.
struct SegmentFrame {
    double length;
    double angle_degrees;
    double axis_x, axis_y;
};
SegmentFrame segment_frame(const ScenePoint& a, const ScenePoint& b);

// True when both marks of the bone are visible (and exist in the layer).
bool bone_drawable(const CaptureData& data, const Bone& bone);
