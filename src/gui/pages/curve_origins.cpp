// Computed points drawn over the trajectory editor's GtkCurve, at the places the widget draws
// its own control points.
#include "gui/pages/curve_origins.h"

#include <cmath>

#include "engine/model/capture_model.h"
#include "engine/model/sample_origin_text.h"

namespace {

// GtkCurve keeps its graph this far inside its allocation and draws each point as a disc of this
// radius whose box starts at the point's projected place.
constexpr int POINT_RADIUS = 3;
const GdkColor COMPUTED_COLOUR = {0, 0xe600, 0x7800, 0x0000};

struct Followed {
    int mark = -1;
    int first_frame = 0;
    int last_frame = 0;
    bool connected = false;
} followed;

// The widget's own rounding from a value of the range to a pixel of the graph.
int project(float value, float min, float max, int size) {
    return static_cast<int>((size - 1) * ((value - min) / (max - min)) + 0.5);
}

gboolean draw_computed_points(GtkWidget* widget, GdkEventExpose*, gpointer) {
    GtkCurve* curve = GTK_CURVE(widget);
    const int mark = followed.mark;
    if (mark < 0 || mark >= app.mark_count() || app.channels[mark].empty() || !app.channels[mark].origins) {
        return FALSE;
    }
    if (followed.last_frame >= app.num_frames || curve->max_x <= curve->min_x || curve->max_y <= curve->min_y) {
        return FALSE;
    }
    const int width = widget->allocation.width - 2 * POINT_RADIUS;
    const int height = widget->allocation.height - 2 * POINT_RADIUS;
    const int span = followed.last_frame - followed.first_frame;
    GdkGC* gc = gdk_gc_new(widget->window);
    gdk_gc_set_rgb_fg_color(gc, &COMPUTED_COLOUR);
    for (int i = 0; i < curve->num_ctlpoints; ++i) {
        const float x = curve->ctlpoint[i][0];
        if (x < curve->min_x) continue;
        const int frame = followed.first_frame + static_cast<int>(std::lround(x * span));
        if (frame < followed.first_frame || frame > followed.last_frame) continue;
        const Channel& channel = app.channels[mark];
        if (!origin_is_computed(channel.origin(frame)) || is_lost(channel.samples[frame].x)) continue;
        const int px = project(x, curve->min_x, curve->max_x, width);
        const int py = height - project(curve->ctlpoint[i][1], curve->min_y, curve->max_y, height);
        gdk_draw_arc(widget->window, gc, TRUE, px, py, 2 * POINT_RADIUS, 2 * POINT_RADIUS, 0, 360 * 64);
    }
    g_object_unref(gc);
    return FALSE;
}

}  // namespace

void curve_origins_follow(GtkWidget* curve, int mark, int first_frame, int last_frame) {
    followed.mark = mark;
    followed.first_frame = first_frame;
    followed.last_frame = last_frame;
    if (!followed.connected && curve) {
        g_signal_connect_after(curve, "expose-event", G_CALLBACK(draw_computed_points), nullptr);
        followed.connected = true;
    }
    if (curve) gtk_widget_queue_draw(curve);
}
