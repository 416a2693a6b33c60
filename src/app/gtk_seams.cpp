// GTK implementations of the engine's seams.
#include "app/gtk_seams.h"

#include <gtk/gtk.h>

#include "app/app_windows.h"
#include "app/ui_helpers.h"
#include "core/seams.h"
#include "view/layers_panel.h"

namespace {

// The status bar context that every status text uses.
constexpr guint STATUS_CONTEXT = 1;

GtkWidget* running_message = nullptr;

int gtk_show_message(const std::string& text, int type, int buttons) {
    GtkWidget* box = gtk_message_dialog_new(GTK_WINDOW(app_windows.main_window), GTK_DIALOG_DESTROY_WITH_PARENT,
                                            static_cast<GtkMessageType>(type), static_cast<GtkButtonsType>(buttons),
                                            "%s", text.c_str());
    GtkWidget* outer = running_message;
    running_message = box;
    const int response = gtk_dialog_run(GTK_DIALOG(box));
    running_message = outer;
    gtk_widget_destroy(box);
    return response;
}

void gtk_status_set(const std::string& text) {
    GtkWidget* bar = main_widget("statusbar_principal");
    if (!bar) return;
    gtk_statusbar_pop(GTK_STATUSBAR(bar), STATUS_CONTEXT);
    gtk_statusbar_push(GTK_STATUSBAR(bar), STATUS_CONTEXT, text.c_str());
}

void gtk_history_append(const std::string& text) { append_text_view("text_ver_historico", text); }

}  // namespace

LayerPlacement placement_from_widgets() {
    LayerPlacement placement;
    placement.offset_x = static_cast<float>(widget_value("spinbutton_offsetx"));
    placement.offset_y = static_cast<float>(widget_value("spinbutton_offsety"));
    placement.offset_z = static_cast<float>(widget_value("spinbutton_offsetz"));
    placement.initial_frame = widget_int("hscale_init");
    placement.scale = static_cast<float>(widget_value("hscale_scaledata"));
    placement.draw_box = widget_active("checkbutton_drawbox") ? 1 : 0;
    return placement;
}

void dismiss_running_message() {
    if (running_message) gtk_dialog_response(GTK_DIALOG(running_message), GTK_RESPONSE_DELETE_EVENT);
}

void install_gtk_seams() {
    Seams seams;
    seams.show_message = gtk_show_message;
    seams.status_set = gtk_status_set;
    seams.history_append = gtk_history_append;
    seams.read_placement = placement_from_widgets;
    seams.layer_row_shown = layer_row_show_widgets;
    seams.layer_row_hidden = layer_row_hide_widgets;
    install_seams(seams);
}
