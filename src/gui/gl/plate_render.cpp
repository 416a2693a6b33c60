// The arrow's length is the force times the Vis page's scale; at scale 1 the subject's weight
// (as the plates suggest it) spans a third of the view's height.
#include "gui/gl/plate_render.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "engine/formats/c3d/c3d_trial.h"
#include "engine/model/capture_model.h"
#include "engine/scene/scene_math.h"
#include "engine/scene/view_state.h"
#include "gui/kit/ui_helpers.h"

namespace {

// One colour per plate, in turn.
const unsigned char PLATE_COLOURS[4][3] = {{230, 120, 0}, {0, 150, 220}, {200, 0, 160}, {90, 170, 0}};

// Scene units per newton at scale 1.
double units_per_newton(const C3dTrial& trial) {
    const ViewBounds& b = view.bounds;
    const double extent = std::max({b.max_x - b.min_x, b.max_y - b.min_y, b.max_z - b.min_z});
    const double aspect = view.view_width > 0 ? static_cast<double>(view.view_height) / view.view_width : 0.75;
    const double weight = trial.body_weight > 0 ? trial.body_weight : 700.0;
    return extent > 0 ? extent * aspect / 3 / weight : 1.0;
}

ScenePoint scene_of(double x, double y, double z) { return scene_position(Sample{x, y, z}, view.transform); }

}  // namespace

void draw_force_plates(int frame, int alpha) {
    if (!app.trial || app.trial->plates.empty() || !widget_active("check_ver_forces")) return;
    const C3dTrial& trial = *app.trial;
    const double length_per_newton = units_per_newton(trial) * widget_value("spin_ver_forces");
    const auto sample = static_cast<size_t>(std::max(frame, 0)) * static_cast<size_t>(trial.samples_per_frame);
    glDisable(GL_LIGHTING);
    for (size_t n = 0; n < trial.plates.size(); ++n) {
        const unsigned char* c = PLATE_COLOURS[n % 4];
        glColor4ub(c[0], c[1], c[2], static_cast<GLubyte>(alpha));
        glLineWidth(2);
        glBegin(GL_LINE_LOOP);
        for (const Sample& corner : trial.plates[n].corners) {
            const ScenePoint p = scene_position(corner, view.transform);
            glVertex3d(p.x, p.y, p.z);
        }
        glEnd();
        if (n >= trial.forces.size() || sample >= trial.forces[n].size()) continue;
        const PlateSample& s = trial.forces[n][sample];
        if (!std::isfinite(s.cop[0])) continue;
        const ScenePoint from = scene_of(s.cop[0], s.cop[1], s.cop[2]);
        const double k = length_per_newton;  // the bounds are already at the placement's scale
        const ScenePoint to{from.x + s.force[0] * k, from.y + s.force[1] * k, from.z + s.force[2] * k};
        glLineWidth(4);
        glBegin(GL_LINES);
        glVertex3d(from.x, from.y, from.z);
        glVertex3d(to.x, to.y, to.z);
        glEnd();
        glPointSize(8);
        glBegin(GL_POINTS);
        glVertex3d(from.x, from.y, from.z);
        glEnd();
    }
    glLineWidth(1);
    glEnable(GL_LIGHTING);
}
