// The file's own frame numbers and times in the interface; the slider itself keeps indices.
#include "gui/gl/frame_display.h"

#include <string>

#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/scene/frame_time.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"

namespace {

gchar* slider_text(GtkScale*, gdouble value, gpointer) {
    if (app.current_layer == 0) return g_strdup_printf("%d", static_cast<int>(value));
    return g_strdup(frame_time_text(app, static_cast<int>(value)).c_str());
}

// The frame has a field of its own at the status bar's end, so it never hides the messages.
void put_on_status_bar(const std::string& text) { set_label_text("label_frame_status", text); }

void go_to_activated(GtkEntry* entry, gpointer) {
    if (app.current_layer == 0) return;
    int index = 0;
    if (!parse_go_to(gtk_entry_get_text(entry), app, index)) {
        status_set("Go to: type a frame number (" + std::to_string(app.first_frame) + " to " +
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
    if (GtkWidget* bar = find_widget(window, "statusbar_principal")) {
        GtkWidget* label = gtk_label_new("");
        register_widget(window, "label_frame_status", label);
        gtk_box_pack_end(GTK_BOX(bar), label, FALSE, FALSE, 6);
        gtk_widget_show(label);
    }
    g_signal_connect(find_widget(window, "hscale_frame"), "format-value", G_CALLBACK(slider_text), nullptr);
    g_signal_connect(find_widget(window, "entry_goto"), "activate", G_CALLBACK(go_to_activated), nullptr);
}
