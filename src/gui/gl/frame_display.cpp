// The file's own frame numbers and times in the interface; the slider itself keeps indices.
#include "gui/gl/frame_display.h"

#include <string>

#include "engine/model/capture_model.h"
#include "engine/scene/frame_time.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"

namespace {

gchar* slider_text(GtkScale*, gdouble value, gpointer) {
    if (app.current_layer == 0) return g_strdup_printf("%d", static_cast<int>(value));
    return g_strdup(frame_time_text(app, static_cast<int>(value)).c_str());
}

void put_on_status_bar(const std::string& text) {
    GtkWidget* bar = main_widget("statusbar_principal");
    if (!bar) return;
    const guint context = gtk_statusbar_get_context_id(GTK_STATUSBAR(bar), "frame");
    gtk_statusbar_pop(GTK_STATUSBAR(bar), context);
    gtk_statusbar_push(GTK_STATUSBAR(bar), context, text.c_str());
}

void go_to_activated(GtkEntry* entry, gpointer) {
    if (app.current_layer == 0) return;
    int index = 0;
    if (!parse_go_to(gtk_entry_get_text(entry), app, index)) {
        put_on_status_bar("Go to: type a frame number (" + std::to_string(app.first_frame) + " to " +
                          std::to_string(app.first_frame + app.num_frames - 1) + ") or a time in seconds (1.5 s)");
        return;
    }
    set_widget_value("hscale_frame", index);
}

}  // namespace

void show_frame_on_status_bar() {
    if (app.current_layer == 0) return;
    put_on_status_bar("Frame " + frame_time_text(app, widget_int("hscale_frame")));
}

void connect_frame_display(GtkWidget* window) {
    g_signal_connect(find_widget(window, "hscale_frame"), "format-value", G_CALLBACK(slider_text), nullptr);
    g_signal_connect(find_widget(window, "entry_goto"), "activate", G_CALLBACK(go_to_activated), nullptr);
}
