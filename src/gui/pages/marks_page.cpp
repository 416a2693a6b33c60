// The " Marks " page: the values list and the trajectory editor's curve, with their handlers.
// The arithmetic lives in curve_editor; this file moves it between the widgets and the engine.
#include "gui/pages/marks_page.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "engine/history/undo_step.h"
#include "engine/model/capture_model.h"
#include "engine/model/sample_origin_text.h"
#include "engine/processing/curve_editor.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/pages/curve_origins.h"

namespace {

// GtkCurve draws its graph this many pixels inside its allocation.
constexpr int CURVE_MARGIN = 3;

// The vertical scale the user is editing on, kept from one load with rescaling to the next.
CurveScale curve_scale;
// Make stores the curve, which tells the interface that samples changed; the page then waits
// and reloads itself on the scale the user is editing on, not rescaled as after other commands.
bool making = false;

int chosen_axis() {
    if (widget_active("radiobutton_mar_ejey")) return 1;
    if (widget_active("radiobutton_mar_ejez")) return 2;
    return 0;
}

// The menu position is the channel index; -1 while the menu does not name a mark of the working copy.
int chosen_mark() {
    const int mark = option_position("option_mar_marcas");
    if (mark < 0 || mark >= app.mark_count() || app.channels[mark].empty()) return -1;
    return mark;
}

// Nothing to edit without a mark or with a capture of a single frame.
std::optional<CurveTarget> chosen_target() {
    const int mark = chosen_mark();
    if (mark < 0 || app.num_frames < 2) return std::nullopt;
    const CurveInterval interval = clamp_curve_interval(widget_int("spinbutton_mar_origen"),
                                                        widget_int("spinbutton_mar_destino"), app.num_frames);
    if (interval.first_frame < 0) return std::nullopt;
    return CurveTarget{mark, chosen_axis(), interval.first_frame, interval.last_frame};
}

void set_curve_points(GtkCurve* curve, const std::vector<CurvePoint>& points) {
    // Setting the range resets the points and resizes the widget to the range, so it comes first
    // and the size is put back.
    gint width = -1, height = -1;
    gtk_widget_get_size_request(GTK_WIDGET(curve), &width, &height);
    gtk_curve_set_range(curve, 0, 1, 0, 1);
    gtk_widget_set_size_request(GTK_WIDGET(curve), width, height);

    g_free(curve->ctlpoint);
    curve->num_ctlpoints = static_cast<gint>(points.size());
    curve->ctlpoint = static_cast<gfloat(*)[2]>(g_malloc(points.size() * sizeof *curve->ctlpoint));
    for (size_t i = 0; i < points.size(); ++i) {
        curve->ctlpoint[i][0] = points[i].x;
        curve->ctlpoint[i][1] = points[i].y;
    }
    // A change of type makes the widget recompute its drawn curve from the new points. It sizes
    // that computation by the allocation, so a widget not yet allocated waits for its first draw.
    const GtkAllocation& allocation = GTK_WIDGET(curve)->allocation;
    if (allocation.width > 2 * CURVE_MARGIN && allocation.height > 2 * CURVE_MARGIN) {
        gtk_curve_set_curve_type(curve, GTK_CURVE_TYPE_LINEAR);
        gtk_curve_set_curve_type(curve, GTK_CURVE_TYPE_SPLINE);
    }
}

void choice_changed() {
    marks_values_refresh();
    marks_curve_load(1);
}

void axis_clicked(GtkToggleButton* button, gpointer) {
    // The button that goes off is clicked as well; the one that comes on does the reload.
    if (gtk_toggle_button_get_active(button)) choice_changed();
}

}  // namespace

void marks_values_refresh() {
    GtkWidget* widget = main_widget("clist_mar");
    if (!widget || making) return;
    GtkCList* list = GTK_CLIST(widget);
    gtk_clist_freeze(list);
    gtk_clist_clear(list);
    if (const int mark = chosen_mark(); mark >= 0) {
        const int axis = chosen_axis();
        const Sample* samples = app.channels[mark].samples.get();
        // The list copies the texts: one pair of buffers serves every row.
        char frame[16], value[400];
        gchar* row[] = {frame, value, nullptr};
        for (int f = 0; f < app.num_frames; ++f) {
            std::snprintf(frame, sizeof frame, "%d", f);
            std::snprintf(value, sizeof value, "%f", axis_coordinate(samples[f], axis));
            row[2] = const_cast<gchar*>(sample_origin_text(app, mark, f));
            gtk_clist_append(list, row);
        }
    }
    gtk_clist_thaw(list);
}

void marks_curve_load(int rescale) {
    if (making) return;
    const std::optional<CurveTarget> target = chosen_target();
    GtkWidget* curve = main_widget("curve_mar");
    if (target && curve) {
        if (GtkWidget* ruler = main_widget("hruler_mar_horizontal")) {
            gtk_ruler_set_range(GTK_RULER(ruler), target->first_frame, target->last_frame, target->first_frame,
                                target->last_frame);
        }
        set_curve_points(GTK_CURVE(curve), curve_load_points(app, *target, rescale, curve_scale));
        curve_origins_follow(curve, target->mark, target->first_frame, target->last_frame);
    } else {
        curve_origins_follow(curve, -1, 0, 0);
    }
}

void curve_discard() { marks_curve_load(0); }

void refresh_marks_page() {
    marks_values_refresh();
    marks_curve_load(1);
}

void curve_accept() {
    const std::optional<CurveTarget> target = chosen_target();
    GtkWidget* widget = main_widget("curve_mar");
    if (!target || !widget) return;
    GtkCurve* curve = GTK_CURVE(widget);
    std::vector<CurvePoint> points;
    for (int i = 0; i < curve->num_ctlpoints; ++i) points.push_back({curve->ctlpoint[i][0], curve->ctlpoint[i][1]});
    if (points.empty()) return;
    const CurveControls controls = curve_controls(points);
    const int count = static_cast<int>(points.size());
    making = true;
    int refused;
    {
        UndoStep step(app, "Edit curve");
        step.keep(target->mark, target->first_frame, target->last_frame);
        refused = marks_curve_store(app, *target, curve_scale, count, controls.xs.data(), controls.ys.data());
    }
    making = false;
    if (refused) return;
    marks_values_refresh();
    marks_curve_load(0);
}

std::optional<MarksCurveShown> marks_curve_shown() {
    const std::optional<CurveTarget> target = chosen_target();
    if (!target || !curve_scale.set) return std::nullopt;
    return MarksCurveShown{*target, curve_scale};
}

void connect_marks_page(GtkWidget* window) {
    g_signal_connect(find_widget(window, "option_mar_marcas"), "changed", G_CALLBACK(+[](GtkOptionMenu*, gpointer) {
                         choice_changed();
                     }),
                     nullptr);
    for (const char* name : {"radiobutton_mar_ejex", "radiobutton_mar_ejey", "radiobutton_mar_ejez"}) {
        g_signal_connect(find_widget(window, name), "clicked", G_CALLBACK(axis_clicked), nullptr);
    }
    // The interval reloads when a frame number is committed (Enter, focus out, the arrows, or a
    // further key press, which commits the text typed so far): text being typed is not a frame yet.
    for (const char* name : {"spinbutton_mar_origen", "spinbutton_mar_destino"}) {
        g_signal_connect(find_widget(window, name), "value-changed",
                         G_CALLBACK(+[](GtkSpinButton*, gpointer) { marks_curve_load(1); }), nullptr);
    }
    g_signal_connect(find_widget(window, "boton_mar_descartar"), "clicked",
                     G_CALLBACK(+[](GtkButton*, gpointer) { curve_discard(); }), nullptr);
    g_signal_connect(find_widget(window, "boton_mar_aceptar"), "clicked",
                     G_CALLBACK(+[](GtkButton*, gpointer) { curve_accept(); }), nullptr);
}
