// Undo and redo on the current layer: the engine exchanges the step, this file refreshes what
// shows what the step changed, as the command itself did.
#include "gui/shell/undo_commands.h"

#include <gdk/gdkkeysyms.h>

#include <string>

#include "engine/history/undo_history.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/scene/view_state.h"
#include "gui/gl/redraw_tick.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/layer_refresh.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/pages/bones_page.h"
#include "gui/pages/event_strip.h"
#include "platform/paths.h"

namespace {

void set_item(const char* name, const char* verb, const std::string* step) {
    GtkWidget* item = main_widget(name);
    if (!item) return;
    GtkWidget* label = gtk_bin_get_child(GTK_BIN(item));
    const std::string text = step ? std::string(verb) + " " + *step : verb;
    if (label && GTK_IS_LABEL(label)) gtk_label_set_text(GTK_LABEL(label), text.c_str());
    gtk_widget_set_sensitive(item, step != nullptr);
}

void refresh_after_step(const HistoryStep& step) {
    if (step.names) {
        // Names are in every list and menu of marks: everything is shown again.
        refresh_for_current_layer();
    } else if (step.changes_capture()) {
        compute_view_bounds();
        report_samples_changed();
    }
    if (step.changes_skeleton()) {
        set_entry_text("entry_hue_fichero", last_path_component(app.skeleton_file));
        skeleton_fill_marks_list();
        skeleton_fill_bones_list();
    }
    if (step.events) refresh_event_strip();
    set_label_text("label_errores", std::to_string(app.error_count));
    request_redraw();
}

// Entries and spin buttons (editable), and text views, keep their own keys.
bool focus_takes_text(GtkWidget* window) {
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
    return focus && (GTK_IS_EDITABLE(focus) || GTK_IS_TEXT_VIEW(focus));
}

// Runs before the window's accelerators, which would otherwise take the keys from a text entry.
gboolean undo_key_pressed(GtkWidget* window, GdkEventKey* event, gpointer) {
    const guint modifiers = event->state & gtk_accelerator_get_default_mod_mask();
    const guint key = gdk_keyval_to_lower(event->keyval);
    const bool undo = key == GDK_z && modifiers == GDK_CONTROL_MASK;
    const bool redo = (key == GDK_z && modifiers == (GDK_CONTROL_MASK | GDK_SHIFT_MASK)) ||
                      (key == GDK_y && modifiers == GDK_CONTROL_MASK);
    if (!undo && !redo) return FALSE;
    if (focus_takes_text(window)) {
        gtk_window_propagate_key_event(GTK_WINDOW(window), event);
        return TRUE;
    }
    if (undo) {
        undo_command();
    } else {
        redo_command();
    }
    return TRUE;
}

}  // namespace

void undo_command() {
    if (app.current_layer == 0) return;
    if (const HistoryStep* step = undo_last(app)) refresh_after_step(*step);
}

void redo_command() {
    if (app.current_layer == 0) return;
    if (const HistoryStep* step = redo_next(app)) refresh_after_step(*step);
}

void refresh_edit_menu() {
    const bool open = app.current_layer != 0 && app.history;
    set_item("deshacer1", "Undo", open ? app.history->next_undo() : nullptr);
    set_item("rehacer1", "Redo", open ? app.history->next_redo() : nullptr);
}

void connect_undo_commands(GtkWidget* window) {
    g_signal_connect_swapped(find_widget(window, "deshacer1"), "activate", G_CALLBACK(undo_command), nullptr);
    g_signal_connect_swapped(find_widget(window, "rehacer1"), "activate", G_CALLBACK(redo_command), nullptr);
    g_signal_connect(window, "key_press_event", G_CALLBACK(undo_key_pressed), nullptr);
    set_history_listener(refresh_edit_menu);
}
