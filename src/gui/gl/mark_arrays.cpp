#include "gui/gl/mark_arrays.h"

#include <GL/gl.h>

#include "engine/model/capture_model.h"
#include "engine/model/colour_table.h"
#include "engine/scene/view_state.h"
#include "gui/gl/piece_arrays.h"

void draw_mark_spheres(double radius, int frame, int alpha, bool lit) {
    static PieceArrays spheres;
    spheres.clear();
    frame = clamp_frame(frame, app.num_frames);
    const Matrix4 unturned = identity();
    for (int m = 0; m < app.mark_count(); ++m) {
        if (!app.mark_styles[m].visible) continue;
        const ScenePoint p = scene_position(app.channels[m].samples[frame], view.transform);
        // A lost mark stands far outside the scene, where no sphere of it is ever seen.
        if (scene_point_lost(p, view.transform)) continue;
        const ColourEntry& c = colour_or_grey(app.mark_styles[m].colour);
        const GLubyte colour[4] = {static_cast<GLubyte>(c.red), static_cast<GLubyte>(c.green),
                                   static_cast<GLubyte>(c.blue), static_cast<GLubyte>(alpha)};
        spheres.place(unit_sphere_mesh(), unturned, p, {radius, radius, radius}, 0, colour, lit);
    }
    glPushAttrib(GL_ENABLE_BIT);
    if (lit) {
        glEnable(GL_LIGHTING);
    } else {
        glDisable(GL_LIGHTING);
    }
    spheres.draw();
    glPopAttrib();
}
