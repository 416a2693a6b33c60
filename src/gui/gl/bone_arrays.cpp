#include "gui/gl/bone_arrays.h"

#include <GL/gl.h>

#include "engine/model/capture_model.h"
#include "engine/model/colour_table.h"
#include "engine/scene/view_state.h"
#include "gui/gl/piece_arrays.h"

namespace {

PieceArrays bodies, caps;

void add_bone(const Bone& bone, const TrailCopy& copy, bool lit_body) {
    const int frame = clamp_frame(copy.frame, app.num_frames);
    const ScenePoint a = scene_position(app.channels[bone.origin].samples[frame], view.transform);
    const ScenePoint b = scene_position(app.channels[bone.destination].samples[frame], view.transform);
    if (scene_point_lost(a, view.transform) || scene_point_lost(b, view.transform) || copy.radius <= 0) return;
    const SegmentFrame f = segment_frame(a, b);
    const Matrix4 turn = segment_turn(f);
    const ColourEntry& c = colour_or_grey(bone.colour);
    const GLubyte colour[4] = {static_cast<GLubyte>(c.red), static_cast<GLubyte>(c.green), static_cast<GLubyte>(c.blue),
                               static_cast<GLubyte>(copy.alpha)};
    const double r = copy.radius;
    bodies.place(unit_body_mesh(), turn, a, {r, r, f.length}, 0, colour, lit_body);
    caps.place(unit_cap_mesh(), turn, a, {r, r, 1}, 0, colour, true);
    caps.place(unit_cap_mesh(), turn, a, {r, r, 1}, f.length, colour, true);
}

}  // namespace

void draw_bone_arrays(const std::vector<TrailCopy>& copies, bool lit_bodies) {
    bodies.clear();
    caps.clear();
    for (const TrailCopy& copy : copies) {
        for (int i = 0; i < app.bone_count; ++i) {
            if (bone_drawable(app, app.bones[i])) add_bone(app.bones[i], copy, lit_bodies);
        }
    }
    if (!lit_bodies) glDisable(GL_LIGHTING);
    bodies.draw();
    glEnable(GL_LIGHTING);
    caps.draw();
}
