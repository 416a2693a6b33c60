// The strip maps frame 0 to its left edge and the last frame to its right edge, like the slider
// above it; the current frame is a thin dark line. Edits go through the engine's event routines.
#include "gui/pages/event_strip.h"

#include <cmath>
#include <string>

#include "engine/formats/c3d/c3d_trial.h"
#include "engine/history/undo_step.h"
#include "engine/gait/gait_events.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "gui/gl/redraw_tick.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"

namespace {

constexpr int STRIP_HEIGHT = 10;

// Left red, Right green, General blue, unless the file gives its contexts' colours.
void context_colour(const std::string& context, double rgb[3]) {
    if (app.trial) {
        for (const EventContext& c : app.trial->contexts) {
            if (c.label != context) continue;
            for (int k = 0; k < 3; ++k) rgb[k] = c.colour[k] / 255.0;
            return;
        }
    }
    rgb[0] = context == "Left" ? 0.85 : 0.1;
    rgb[1] = context == "Right" ? 0.7 : 0.1;
    rgb[2] = context != "Left" && context != "Right" ? 0.85 : 0.1;
}

// Where the slider's knob centre stands at `frame`, in the strip's coordinates (the slider lies
// above the strip, its value text to the trough's right); the strip's width when there is no slider.
double x_of(int frame, int width) {
    const double share = app.num_frames > 1 ? static_cast<double>(frame) / (app.num_frames - 1) : 0;
    GtkWidget* slider = main_widget("hscale_frame");
    GtkWidget* strip = main_widget("drawingarea_events");
    if (!slider || !strip || !GTK_WIDGET_REALIZED(slider)) return 2 + (width - 4) * share;
    GtkRange* range = GTK_RANGE(slider);
    const int knob = range->slider_end - range->slider_start;
    const double left = slider->allocation.x - strip->allocation.x + range->range_rect.x + knob / 2.0;
    return left + (range->range_rect.width - knob) * share;
}

gboolean draw_strip(GtkWidget* strip, GdkEventExpose*, gpointer) {
    cairo_t* cr = gdk_cairo_create(strip->window);
    const int width = strip->allocation.width, height = strip->allocation.height;
    cairo_set_source_rgb(cr, 0.93, 0.93, 0.93);
    cairo_paint(cr);
    if (app.current_layer != 0 && app.trial) {
        cairo_set_line_width(cr, 1);
        cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
        const double now = x_of(widget_int("hscale_frame"), width);
        cairo_move_to(cr, now + 0.5, 0);
        cairo_line_to(cr, now + 0.5, height);
        cairo_stroke(cr);
        for (const GaitEvent& e : app.trial->events) {
            const int frame = event_frame(app, e.time);
            if (frame < 0 || frame >= app.num_frames) continue;
            double rgb[3];
            context_colour(e.context, rgb);
            cairo_set_source_rgb(cr, rgb[0], rgb[1], rgb[2]);
            cairo_rectangle(cr, x_of(frame, width) - 1.5, 0, 3, height);
            cairo_fill(cr);
        }
    }
    cairo_destroy(cr);
    return TRUE;
}

gboolean strip_tooltip(GtkWidget* strip, gint x, gint, gboolean, GtkTooltip* tooltip, gpointer) {
    if (app.current_layer == 0 || !app.trial) return FALSE;
    std::string text;
    for (int i : events_by_time(app)) {
        const GaitEvent& e = app.trial->events[i];
        const int frame = event_frame(app, e.time);
        if (frame < 0 || frame >= app.num_frames || std::abs(x_of(frame, strip->allocation.width) - x) > 3) continue;
        if (!text.empty()) text += "\n";
        text += e.context + " " + e.label + " (frame " + std::to_string(frame) + ")";
    }
    if (text.empty()) return FALSE;
    gtk_tooltip_set_text(tooltip, text.c_str());
    return TRUE;
}

void add_clicked() {
    const char* const* contexts = EVENT_CONTEXTS;
    const char* const* labels = EVENT_LABELS;
    const int label = option_position("option_event_label"), context = option_position("option_event_context");
    if (label < 0 || label > 2 || context < 0 || context > 2) return;
    {
        UndoStep step(app, "Add event");
        step.keep_events();
        if (show_failure(add_event(app, widget_int("hscale_frame"), contexts[context], labels[label])) != 0) return;
    }
    status_set(std::string(" Event added: ") + contexts[context] + " " + labels[label]);
    refresh_event_strip();
}

// Deletes every event at the current frame.
void delete_clicked() {
    if (app.current_layer == 0 || !app.trial) return;
    const int frame = widget_int("hscale_frame");
    int deleted = 0;
    UndoStep step(app, "Delete event");
    step.keep_events();
    for (int i = static_cast<int>(app.trial->events.size()) - 1; i >= 0; --i) {
        if (event_frame(app, app.trial->events[i].time) != frame) continue;
        if (delete_event(app, i).ok()) ++deleted;
    }
    status_set(deleted ? " Events deleted at frame " + std::to_string(frame) : " No event at frame " + std::to_string(frame));
    refresh_event_strip();
}

}  // namespace

void refresh_event_strip() {
    if (GtkWidget* strip = main_widget("drawingarea_events")) gtk_widget_queue_draw(strip);
    // Only a capture read from C3D can keep events: the controls of any other are greyed out.
    const bool editable = app.current_layer != 0 && app.trial && app.c3d_source;
    for (const char* name : {"option_event_label", "option_event_context", "button_event_add", "button_event_delete"}) {
        if (GtkWidget* widget = main_widget(name)) gtk_widget_set_sensitive(widget, editable);
    }
}

GtkWidget* create_event_strip(WindowBuilder& b) {
    GtkWidget* strip = b.named("drawingarea_events", gtk_drawing_area_new());
    gtk_widget_set_size_request(strip, -1, STRIP_HEIGHT);
    gtk_widget_set_has_tooltip(strip, TRUE);
    return strip;
}

GtkWidget* create_event_controls(WindowBuilder& b) {
    return row({text_label(" Event "), b.option_menu("option_event_label", {"Foot Strike", "Foot Off", "General"}),
                b.option_menu("option_event_context", {"Left", "Right", "General"}),
                with_tip(b.button("button_event_add", "Add"), "Adds the event at the current frame"),
                with_tip(b.button("button_event_delete", "Delete"), "Deletes the events at the current frame")});
}

void connect_event_strip(GtkWidget* window) {
    GtkWidget* strip = find_widget(window, "drawingarea_events");
    g_signal_connect(strip, "expose_event", G_CALLBACK(draw_strip), nullptr);
    g_signal_connect(strip, "query-tooltip", G_CALLBACK(strip_tooltip), nullptr);
    g_signal_connect_swapped(find_widget(window, "hscale_frame"), "value-changed", G_CALLBACK(refresh_event_strip), nullptr);
    g_signal_connect_swapped(find_widget(window, "button_event_add"), "clicked", G_CALLBACK(add_clicked), nullptr);
    g_signal_connect_swapped(find_widget(window, "button_event_delete"), "clicked", G_CALLBACK(delete_clicked), nullptr);
    g_signal_connect_swapped(find_widget(window, "check_ver_forces"), "toggled", G_CALLBACK(request_redraw), nullptr);
    g_signal_connect_swapped(find_widget(window, "spin_ver_forces"), "value-changed", G_CALLBACK(request_redraw), nullptr);
}
