// The main window's hook-ups: each subsystem connects the handlers of its own widgets.
#include "gui/shell/signal_wiring.h"

#include <initializer_list>

#include "gui/gl/capture_view.h"
#include "gui/gl/gl_view.h"
#include "gui/gl/redraw_tick.h"
#include "gui/kit/widgets.h"
#include "gui/pages/avi_page.h"
#include "gui/pages/bones_page.h"
#include "gui/pages/channels_page.h"
#include "gui/pages/event_strip.h"
#include "gui/pages/fim_page.h"
#include "gui/pages/gaps_page.h"
#include "gui/pages/layers_panel.h"
#include "gui/pages/marks_page.h"
#include "gui/pages/picked_mark.h"
#include "gui/pages/plot_page.h"
#include "gui/pages/video_export_dialog.h"
#include "gui/shell/app_commands.h"
#include "gui/shell/file_commands.h"
#include "gui/shell/refresh.h"
#include "gui/shell/undo_commands.h"

// A frame typed into the trajectory editor's spin buttons counts at once, before the key acts.
static gboolean commit_typed_value(GtkWidget* spin, GdkEventKey*, gpointer) {
    gtk_spin_button_update(GTK_SPIN_BUTTON(spin));
    return FALSE;
}

void connect_main_window_signals(GtkWidget* window) {
    for (const char* name : {"spinbutton_mar_origen", "spinbutton_mar_destino"}) {
        g_signal_connect(find_widget(window, name), "key_press_event", G_CALLBACK(commit_typed_value), nullptr);
    }
    connect_file_commands(window);
    connect_app_commands(window);
    connect_panel_toggles(window);
    connect_layers_panel(window);
    connect_undo_commands(window);
    connect_view_controls(window);
    connect_capture_view_controls(window);
    connect_picked_mark();
    connect_video_export(window);
    connect_scene_options(window);
    connect_playback_controls(window);
    connect_marks_page(window);
    connect_channels_page(window);
    connect_gaps_page(window);
    connect_fim_page(window);
    connect_bones_page(window);
    connect_plot_page(window);
    connect_recording_controls(window);
    connect_event_strip(window);
}
