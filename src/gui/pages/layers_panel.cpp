// Layer rows and the layer switch. The switch turns tool buttons on and off itself; the
// switching_layer guard keeps their handlers from starting another switch.
#include "gui/pages/layers_panel.h"

#include <cstdio>

#include "engine/model/capture_model.h"
#include "gui/gl/redraw_tick.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/layer_refresh.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"

namespace {

std::string row_widget(const char* pattern, int n) {
    char name[48];
    std::snprintf(name, sizeof name, pattern, n);
    return name;
}

void view_clicked(GtkToggleButton* button, gpointer slot) {
    app.layers[GPOINTER_TO_INT(slot)].visible = gtk_toggle_button_get_active(button) ? 1 : 0;
    request_redraw();
}

void tool_clicked(GtkToggleButton*, gpointer slot) { layer_select(GPOINTER_TO_INT(slot)); }

void view_all_clicked(GtkButton*, gpointer) {
    for (int n = 1; n <= MAX_LAYERS; ++n) set_widget_active(row_widget("togglebutton_lay_view_%d", n).c_str(), true);
}

}  // namespace

void layer_row_show_widgets(int n) {
    set_widget_active(row_widget("togglebutton_lay_view_%d", n).c_str(), true);
    set_widget_active(row_widget("togglebutton_lay_tool_%d", n).c_str(), true);
    if (GtkWidget* row = main_widget(row_widget("hbox_lay_%d", n).c_str())) gtk_widget_show(row);
}

void layer_row_hide_widgets(int n) {
    if (GtkWidget* row = main_widget(row_widget("hbox_lay_%d", n).c_str())) gtk_widget_hide(row);
}

void layer_select(int n) {
    if (app.switching_layer != 0) return;
    app.switching_layer = n;
    if (app.current_layer != 0) layer_store(app.current_layer);
    app.current_layer = n;
    for (int i = 1; i <= MAX_LAYERS; ++i) set_widget_active(row_widget("togglebutton_lay_tool_%d", i).c_str(), i == n);
    app.switching_layer = 0;
    layer_fetch(app.current_layer);
    refresh_for_current_layer();
}

void connect_layers_panel(GtkWidget* window) {
    for (int n = 1; n <= MAX_LAYERS; ++n) {
        g_signal_connect(find_widget(window, row_widget("togglebutton_lay_view_%d", n).c_str()), "clicked",
                         G_CALLBACK(view_clicked), GINT_TO_POINTER(n));
        g_signal_connect(find_widget(window, row_widget("togglebutton_lay_tool_%d", n).c_str()), "clicked",
                         G_CALLBACK(tool_clicked), GINT_TO_POINTER(n));
    }
    g_signal_connect(find_widget(window, "button_lay_vall"), "clicked", G_CALLBACK(view_all_clicked), nullptr);
}
