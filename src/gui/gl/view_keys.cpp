// The view's keys, taken on the main window before the focused widget sees them.
#include "gui/gl/view_keys.h"

#include <gdk/gdkkeysyms.h>

#include <vector>

#include "engine/gait/gait_events.h"
#include "engine/model/capture_model.h"
#include "engine/scene/scene_math.h"
#include "gui/gl/capture_view.h"
#include "gui/gl/mark_picking.h"
#include "gui/kit/ui_helpers.h"

namespace {

// Entries and spin buttons (editable), and text views, take the keys as text.
bool focus_takes_text(GtkWidget* window) {
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
    return focus && (GTK_IS_EDITABLE(focus) || GTK_IS_TEXT_VIEW(focus));
}

void go_to_frame(int frame) {
    if (app.current_layer == 0) return;
    set_widget_value("hscale_frame", clamp_frame(frame, app.num_frames));
}

struct QueuedKey {
    void (*action)(int step);
    int step;
};
std::vector<QueuedKey> queued_keys;

gboolean run_queued_keys(gpointer) {
    // A key's redraw may deliver the next key, which queues behind this run.
    for (size_t i = 0; i < queued_keys.size(); ++i) queued_keys[i].action(queued_keys[i].step);
    queued_keys.clear();
    return G_SOURCE_REMOVE;
}

}  // namespace

bool view_key_action(GtkWidget* window, const GdkEventKey* event) {
    // Keys with Control or Alt belong to the menus.
    if (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) return false;
    if (focus_takes_text(window)) return false;
    int step = event->state & GDK_SHIFT_MASK ? 10 : 1;
    if (event->keyval == GDK_bracketleft || event->keyval == GDK_bracketright) step = event->keyval == GDK_bracketright;
    void (*action)(int) = nullptr;
    switch (event->keyval) {
    case GDK_space: action = [](int) { set_widget_active("boton_play", !widget_active("boton_play")); }; break;
    case GDK_Left:
    case GDK_KP_Left: action = [](int step) { go_to_frame(widget_int("hscale_frame") - step); }; break;
    case GDK_Right:
    case GDK_KP_Right: action = [](int step) { go_to_frame(widget_int("hscale_frame") + step); }; break;
    case GDK_Home:
    case GDK_KP_Home: action = [](int) { go_to_frame(0); }; break;
    case GDK_End:
    case GDK_KP_End: action = [](int) { go_to_frame(app.num_frames - 1); }; break;
    case GDK_f:
    case GDK_F: action = [](int) { frame_current_marks(); }; break;
    case GDK_Escape: action = [](int) { clear_picked_marks(); }; break;
    case GDK_bracketleft:
    case GDK_bracketright:
        action = [](int forward) {
            const int frame = neighbour_event_frame(app, widget_int("hscale_frame"), forward != 0);
            if (frame >= 0) go_to_frame(frame);
        };
        break;
    default: return false;
    }
    // The redraw that follows handles pending events: it runs once this key's delivery is over,
    // so the keys typed after it keep their order.
    queued_keys.push_back({action, step});
    if (queued_keys.size() == 1) g_idle_add(run_queued_keys, nullptr);
    return true;
}
