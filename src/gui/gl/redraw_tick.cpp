// What follows every redraw, and when the view is redrawn. Playback is a chain of redraws: each
// redraw ends by scheduling the next slider change on the main loop, and that change redraws.
// The step runs after the redraw has returned, so the chain can go on for hours without growing
// the stack, and at most one step is ever pending.
#include "gui/gl/redraw_tick.h"

#include "engine/model/capture_model.h"
#include "engine/scene/playback.h"
#include "engine/scene/real_time_clock.h"
#include "gui/gl/capture_view.h"
#include "gui/gl/frame_display.h"
#include "gui/gl/record_tick.h"
#include "gui/gl/scene_render.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"

namespace {

// Redraws under way, those started by the events a redraw dispatches included.
int drawing_depth = 0;

guint pending_step = 0;
int pending_frame = 0;
bool pausing = false;

// Real-time playback: the clock, and the frame it last showed (another frame on the slider means
// the user moved it, and the clock starts again from there).
RealTimeClock playback_clock;
int clock_frame_shown = -1;
constexpr int WAITING_FOR_CLOCK = -1;

double now_seconds() { return static_cast<double>(g_get_monotonic_time()) / 1e6; }

// The Rate entries: 0.25x, 0.5x, 1x, 2x, 4x.
double rate_factor() {
    GtkWidget* combo = main_widget("combo_ver_rate");
    const int index = combo ? gtk_combo_box_get_active(GTK_COMBO_BOX(combo)) : 2;
    static const double factors[] = {0.25, 0.5, 1, 2, 4};
    return index >= 0 && index < 5 ? factors[index] : 1;
}

// Playback follows the clock when "Real time" is on, except while recording: a recording takes
// every frame, as the recording has always done.
bool real_time_playback() {
    return widget_active("check_ver_tiempo_real") && !widget_active("boton_rec") && app.capture_rate > 0;
}

// The frame the clock says is due now; past the last frame, playback starts over from 0.
int clock_next_frame() {
    int due = clock_due_frame(playback_clock, now_seconds());
    if (due > app.num_frames - 1) {
        clock_start(playback_clock, 0, now_seconds(), app.capture_rate * rate_factor());
        due = 0;
    }
    return due;
}

GtkWidget* view_widget() { return main_widget("gtkglext_modelo3D"); }

int current_frame() { return widget_int("hscale_frame"); }

void schedule_by_clock(int f);

// The next frame, once the redraw that scheduled it has returned. Dispatched from inside a
// redraw (which handles pending events), it is dropped: that redraw schedules a fresh step when
// it ends, so the chain never nests.
gboolean run_step(gpointer) {
    pending_step = 0;
    if (redraw_in_progress()) return G_SOURCE_REMOVE;
    if (!widget_active("boton_play")) return G_SOURCE_REMOVE;
    int frame = pending_frame;
    if (frame == WAITING_FOR_CLOCK) {
        if (!real_time_playback()) return G_SOURCE_REMOVE;
        frame = clock_next_frame();
        if (frame == current_frame()) {  // the timer fired a hair early
            schedule_by_clock(frame);
            return G_SOURCE_REMOVE;
        }
        clock_frame_shown = frame;
    }
    set_widget_value("hscale_frame", frame);
    return G_SOURCE_REMOVE;
}

// The real-time step: the frame due when the next one falls due (at once when it already has).
void schedule_by_clock(int f) {
    if (app.num_frames <= 1) return;  // a one-frame capture stays still
    const double fps = app.capture_rate * rate_factor();
    if (!playback_clock.running || f != clock_frame_shown || playback_clock.frames_per_second != fps) {
        clock_start(playback_clock, f, now_seconds(), fps);
    }
    clock_frame_shown = f;
    pending_frame = WAITING_FOR_CLOCK;
    const double wait = clock_time_of(playback_clock, f + 1) - now_seconds();
    if (wait <= 0) {
        pending_step = g_idle_add(run_step, nullptr);
    } else {
        pending_step = g_timeout_add(static_cast<guint>(wait * 1000 + 0.5), run_step, nullptr);
    }
}

void set_frame(int frame) { set_widget_value("hscale_frame", frame); }

void first_clicked() { set_frame(0); }
void previous_clicked() { set_frame(current_frame() > 0 ? current_frame() - 1 : 0); }
void next_clicked() {
    const int last = app.num_frames - 1;
    set_frame(current_frame() < last ? current_frame() + 1 : last);
}
void last_clicked() { set_frame(app.num_frames - 1); }

void slider_changed() {
    follow_current_marks();
    show_frame_on_status_bar();
    redraw_view(view_widget());
}

void play_toggled(GtkToggleButton* button, gpointer) {
    playback_clock.running = false;
    // A step still waiting belongs to the playback that was stopped: run later, it would show
    // the frame that playback's clock was due at and jump the new playback ahead.
    if (pending_step != 0) {
        g_source_remove(pending_step);
        pending_step = 0;
    }
    if (gtk_toggle_button_get_active(button)) {
        set_frame(first_playback_frame(current_frame(), app.num_frames));
    } else if (widget_active("boton_rec")) {
        start_record_tick();  // recording goes on with the still picture
    }
}

// The list's handler runs before the list has taken the click; the periodic refresh shows the
// new selection. The redraw must not dispatch the button's release before the list has seen
// its press, or the list would keep the pointer and swallow the next click.
gboolean redraw_on_press(GtkWidget*, GdkEventButton*, gpointer) {
    request_redraw_keeping_events();
    return FALSE;
}

}  // namespace

gboolean redraw_view(GtkWidget* widget) {
    ++drawing_depth;
    draw_view(widget);
    process_pending_events();
    capture_if_recording();
    playback_step();
    --drawing_depth;
    return TRUE;
}

void redraw_view_keeping_events(GtkWidget* widget) {
    ++drawing_depth;
    draw_view(widget);
    capture_if_recording();
    --drawing_depth;
}

bool redraw_in_progress() { return drawing_depth > 0; }

gboolean on_view_expose(GtkWidget* widget, GdkEventExpose*, gpointer) { return redraw_view(widget); }

void request_redraw() {
    if (!widget_active("boton_play")) redraw_view(view_widget());
}

void request_redraw_keeping_events() {
    if (!widget_active("boton_play")) redraw_view_keeping_events(view_widget());
}

gboolean periodic_refresh(gpointer) {
    if (!app_windows.main_window || !g_object_get_data(G_OBJECT(app_windows.main_window), "boton_play")) return FALSE;
    if (!widget_active("boton_play")) redraw_view(view_widget());
    return TRUE;
}

void playback_step() {
    const int speed = widget_int("spin_ver_velocidad");
    if (!widget_active("boton_play") || pending_step != 0 || pausing) return;
    const int f = current_frame();
    if (real_time_playback()) {
        schedule_by_clock(f);
        return;
    }
    playback_clock.running = false;
    if (speed < 0 && f < app.num_frames - 1) {
        // Slow motion: 2 |speed| pauses of |speed| ms, the interface kept alive between them.
        pausing = true;
        for (int i = 0; i < -2 * speed; ++i) {
            g_usleep(static_cast<gulong>(-speed) * 1000);
            process_pending_events();
        }
        pausing = false;
        if (!widget_active("boton_play") || pending_step != 0) return;
    }
    const int next = next_playback_frame(f, app.num_frames, speed);
    if (next == f) return;  // a one-frame capture stays still
    pending_frame = next;
    pending_step = g_idle_add(run_step, nullptr);
}

void connect_playback_controls(GtkWidget* window) {
    const auto on = [window](const char* name, void (*handler)()) {
        g_signal_connect_swapped(find_widget(window, name), "clicked", G_CALLBACK(handler), nullptr);
    };
    on("boton_primero", first_clicked);
    on("boton_anterior", previous_clicked);
    on("boton_siguiente", next_clicked);
    on("boton_ultimo", last_clicked);
    g_signal_connect_swapped(find_widget(window, "hscale_frame"), "value-changed", G_CALLBACK(slider_changed), nullptr);
    g_signal_connect(find_widget(window, "boton_play"), "toggled", G_CALLBACK(play_toggled), nullptr);
}

void connect_scene_options(GtkWidget* window) {
    for (const char* name : {"option_ver_render", "optionmenu_velocity", "optionmenu_acceleration"}) {
        g_signal_connect_swapped(find_widget(window, name), "changed", G_CALLBACK(request_redraw), nullptr);
    }
    for (const char* name : {"check_ver_marcas", "check_ver_nombre", "check_ver_huesos", "check_ver_trazas"}) {
        g_signal_connect_swapped(find_widget(window, name), "toggled", G_CALLBACK(request_redraw), nullptr);
    }
    for (const char* name : {"list_ver_trazas", "clist_entity", "clist_toplot_plot"}) {
        g_signal_connect(find_widget(window, name), "button_press_event", G_CALLBACK(redraw_on_press), nullptr);
    }
}
