// The previewed values of the curve's axis are drawn as a line in the preview colour across the
// frames of the gap, on the curve's own scale.
#include "gui/pages/curve_preview.h"

#include <algorithm>
#include <vector>

#include "engine/model/capture_model.h"
#include "engine/scene/fill_preview.h"
#include "gui/pages/marks_page.h"

namespace {

// GtkCurve draws its graph this many pixels inside its allocation.
constexpr int CURVE_MARGIN = 3;

gboolean draw_preview(GtkWidget* curve, GdkEventExpose*, gpointer) {
    const FillPreview& preview = fill_preview();
    if (!preview.active() || preview.layer != app.current_layer) return FALSE;
    const std::optional<MarksCurveShown> shown = marks_curve_shown();
    if (!shown || shown->target.mark != preview.mark) return FALSE;
    const CurveTarget& target = shown->target;
    const double span = shown->scale.curve_max - shown->scale.curve_min;
    const int frames = target.last_frame - target.first_frame;
    const int width = curve->allocation.width - 2 * CURVE_MARGIN, height = curve->allocation.height - 2 * CURVE_MARGIN;
    if (frames <= 0 || width <= 0 || height <= 0) return FALSE;
    // The gap's seen neighbours join the line to the curve.
    const int from = std::max(target.first_frame, preview.first - 1);
    const int to = std::min(target.last_frame, preview.first + static_cast<int>(preview.values.size()));
    const Sample* samples = app.channels[preview.mark].samples.get();
    std::vector<GdkPoint> points;
    for (int f = from; f <= to; ++f) {
        const int i = f - preview.first;
        const Sample& sample = i >= 0 && i < static_cast<int>(preview.values.size()) ? preview.values[i] : samples[f];
        const double value = axis_coordinate(sample, target.axis);
        if (is_lost(value)) continue;
        const double y = span == 0 ? 0.5 : std::clamp((value - shown->scale.curve_min) / span, 0.0, 1.0);
        points.push_back({CURVE_MARGIN + static_cast<gint>(width * (f - target.first_frame) / frames),
                          CURVE_MARGIN + static_cast<gint>((1 - y) * height)});
    }
    if (points.size() < 2) return FALSE;
    GdkGC* gc = gdk_gc_new(curve->window);
    GdkColor orange{0, 0xffff, 0x8000, 0};
    gdk_gc_set_rgb_fg_color(gc, &orange);
    gdk_gc_set_line_attributes(gc, 2, GDK_LINE_SOLID, GDK_CAP_ROUND, GDK_JOIN_ROUND);
    gdk_draw_lines(curve->window, gc, points.data(), static_cast<gint>(points.size()));
    g_object_unref(gc);
    return FALSE;
}

}  // namespace

void connect_curve_preview(GtkWidget* curve) {
    g_signal_connect_after(curve, "expose-event", G_CALLBACK(draw_preview), nullptr);
}
