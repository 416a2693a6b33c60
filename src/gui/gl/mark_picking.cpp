// Picking marks in the view and writing their names beside them. The marks are projected with
// the matrices drawing uses, so a mark is picked where it is seen.
#include "gui/gl/mark_picking.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/model/capture_model.h"
#include "engine/model/colour_table.h"
#include "engine/scene/frame_time.h"
#include "engine/scene/picking.h"
#include "engine/scene/view_state.h"
#include "gui/gl/overlay.h"
#include "gui/gl/redraw_tick.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/gtk_seams.h"
#include "gui/kit/ui_helpers.h"

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr int LABEL_CHAR_SIZE = 9;
constexpr int RING_MIN_PIXELS = 7;

std::vector<int> picked;
// The capture the picked marks belong to: another one drops them.
const void* picked_capture = nullptr;
void (*picked_listener)(int, int, bool) = nullptr;

ViewMatrices current_matrices() { return view_matrices(widget_value("spin_ver_zoom"), widget_active("check_ver_orto")); }

int shown_frame(const LayerPlacement& placement) {
    return frame_to_draw(widget_int("hscale_frame"), placement.initial_frame, app.num_frames);
}

// Every layer as drawing draws it: the current one is the working copy, placed by the widgets;
// the others are their slots, placed and started as their slots say.
std::vector<DrawnLayer> drawn_layers() {
    std::vector<DrawnLayer> layers;
    const int slider = widget_int("hscale_frame");
    for (int n = 1; n <= MAX_LAYERS; ++n) {
        const Layer& slot = app.layers[n];
        if (!slot.visible || !slot.in_use) continue;
        if (n == app.current_layer) {
            const LayerPlacement placement = placement_from_widgets();
            layers.push_back({&app, placement, shown_frame(placement), n});
        } else {
            layers.push_back({&slot, slot, frame_to_draw(slider, slot.initial_frame, slot.num_frames), n});
        }
    }
    return layers;
}

bool usable(const Sample& s) { return !is_lost(s.x) && !is_lost(s.y) && !is_lost(s.z); }

void drop_stale_picks() {
    const void* capture = app.channels.empty() ? nullptr : app.channels[0].samples.get();
    if (capture != picked_capture) picked.clear();
    picked_capture = capture;
    std::erase_if(picked, [](int m) { return m < 0 || m >= app.mark_count(); });
}

// Window pixels, origin at the bottom left, for the 2-D pieces.
struct PixelSpace {
    PixelSpace() {
        glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0, view.view_width, 0, view.view_height, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
    }
    ~PixelSpace() {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glPopAttrib();
    }
};

void ring(double x, double y, double radius) {
    glLineWidth(2);
    glColor3ub(255, 200, 0);
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < 32; ++i) glVertex2d(x + radius * std::cos(i * PI / 16), y + radius * std::sin(i * PI / 16));
    glEnd();
}

}  // namespace

void set_mark_picked_listener(void (*listener)(int slot, int mark, bool add)) { picked_listener = listener; }

void pick_mark_at(int x, int y, bool add) {
    if (app.current_layer == 0) return;
    drop_stale_picks();
    const LayerPick pick =
        pick_mark_in_layers(drawn_layers(), current_matrices(), widget_value("spin_ver_marcas"), x, y);
    if (!add) picked.clear();
    if (pick.mark >= 0) {
        // The listener makes the mark's layer current first; the marks picked in another layer
        // are dropped with it.
        if (picked_listener) picked_listener(pick.slot, pick.mark, add);
        drop_stale_picks();
        if (pick.slot == app.current_layer && std::find(picked.begin(), picked.end(), pick.mark) == picked.end()) {
            picked.push_back(pick.mark);
        }
    }
    request_redraw();
}

void clear_picked_marks() {
    picked.clear();
    request_redraw();
}

void pick_mark(int mark) {
    drop_stale_picks();
    picked.clear();
    if (mark >= 0 && mark < app.mark_count()) picked.push_back(mark);
    request_redraw();
}

const std::vector<int>& picked_marks() {
    drop_stale_picks();
    return picked;
}

gboolean on_gl_button_release(GtkWidget*, GdkEventButton* event, gpointer) {
    if (event->button != 1) return FALSE;
    const int x = static_cast<int>(event->x), y = static_cast<int>(event->y);
    const CameraState& camera = view.camera;
    if (std::abs(x - camera.press_x) >= CLICK_SLOP_PIXELS || std::abs(y - camera.press_y) >= CLICK_SLOP_PIXELS) {
        return FALSE;
    }
    // A click is no turn: the camera goes back to where the press found it.
    view.camera.rot_x = camera.press_rot_x;
    view.camera.rot_z = camera.press_rot_z;
    pick_mark_at(x, y, event->state & GDK_CONTROL_MASK);
    return TRUE;
}

void draw_mark_annotations() {
    if (app.current_layer == 0 || app.file_name.empty()) return;
    drop_stale_picks();
    const LayerPlacement placement = placement_from_widgets();
    const int frame = shown_frame(placement);
    if (widget_active("check_ver_nombre")) {
        // The information block's frame, as the file numbers it, in the lower left corner.
        overlay_set_size(LABEL_CHAR_SIZE);
        overlay_set_colour(0, 0, 0);
        overlay_print(10, 8, "Frame %s", frame_time_text(app, widget_int("hscale_frame")).c_str());
    }
    const bool labels = widget_active("check_ver_labels");
    if (picked.empty() && !labels) return;
    const ViewMatrices m = current_matrices();
    const double radius = widget_value("spin_ver_marcas");
    const auto where = [&](int mark, std::array<double, 3>& at, double& pixels) {
        const Sample& s = app.channels[mark].samples[frame];
        if (!app.mark_styles[mark].visible || !usable(s)) return false;
        const ScenePoint p = scene_position(s, placement);
        at = project_point(m, p);
        pixels = projected_radius(m, p, radius);
        return at[2] >= 0 && at[2] <= 1;
    };
    {
        PixelSpace pixel_space;
        for (int mark : picked) {
            std::array<double, 3> at;
            double pixels;
            if (where(mark, at, pixels)) ring(at[0], at[1], std::max<double>(RING_MIN_PIXELS, pixels + 3));
        }
    }
    std::array<double, 3> at;
    double pixels;
    overlay_begin_batch();
    if (labels) {
        for (int mark = 0; mark < app.mark_count(); ++mark) {
            if (app.channels[mark].empty() || !where(mark, at, pixels)) continue;
            overlay_set_size(LABEL_CHAR_SIZE);
            overlay_set_colour(0, 0, 0);
            overlay_print(static_cast<int>(at[0] + pixels + 3), static_cast<int>(at[1]), "%s",
                          app.channels[mark].name_text().c_str());
        }
    }
    for (int mark : picked) {
        if (!where(mark, at, pixels)) continue;
        const Sample& s = app.channels[mark].samples[frame];
        overlay_set_size(LABEL_CHAR_SIZE);
        overlay_set_colour(0.6f, 0, 0);
        overlay_print(static_cast<int>(at[0] + pixels + 10), static_cast<int>(at[1] - LABEL_CHAR_SIZE - 2),
                      "%s [%.2f, %.2f, %.2f]", app.channels[mark].name_text().c_str(), s.x, s.y, s.z);
    }
    overlay_end_batch();
}
