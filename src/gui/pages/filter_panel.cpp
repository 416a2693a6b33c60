// Handlers of the filter choice: they read the spins and the selected rows, run the engine and
// refresh.
#include "gui/pages/filter_panel.h"

#include <algorithm>

#include "engine/model/capture_model.h"
#include "engine/processing/filter_commands.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"

namespace {

const char* const FILTER_WIDGETS[] = {"spinbutton_can_corte", "spinbutton_can_orden", "boton_can_sugerir"};

int filter_order() {
    const int order = widget_int("spinbutton_can_orden");
    return valid_filter_order(order) ? order : FILTER_DEFAULT_ORDER;
}

void filter_option_toggled(GtkToggleButton* button, gpointer) {
    for (const char* name : FILTER_WIDGETS) set_widget_sensitive(name, gtk_toggle_button_get_active(button));
}

}  // namespace

void filter_selected_channels(int first_frame, int last_frame, const std::vector<int>& channels) {
    run_filter(app, first_frame, last_frame, channels, widget_value("spinbutton_can_corte"), filter_order());
}

void suggest_cutoff() {
    if (app.current_layer == 0) return;
    const CutoffSuggestion suggestion =
        run_suggest_cutoff(app, widget_rounded("spinbutton_can_origen"), widget_rounded("spinbutton_can_destino"),
                           selected_list_rows("list_can", app.mark_count()), filter_order());
    if (suggestion.overall > 0) set_widget_value("spinbutton_can_corte", suggestion.overall);
}

void refresh_filter_range() {
    const double upper = std::max(0.5, app.capture_rate / 2);
    set_widget_range("spinbutton_can_corte", 0.5, upper, std::min(widget_value("spinbutton_can_corte"), upper));
}

void reset_filter_panel() {
    const double upper = std::max(0.5, app.capture_rate / 2);
    set_widget_range("spinbutton_can_corte", 0.5, upper, std::min(FILTER_DEFAULT_CUTOFF, upper));
    set_widget_value("spinbutton_can_orden", FILTER_DEFAULT_ORDER);
}

void connect_filter_panel(GtkWidget* window) {
    // Orders are even: the spin steps by two and snaps a typed odd number to its neighbour.
    gtk_spin_button_set_snap_to_ticks(GTK_SPIN_BUTTON(find_widget(window, "spinbutton_can_orden")), TRUE);
    for (const char* name : FILTER_WIDGETS) gtk_widget_set_sensitive(find_widget(window, name), FALSE);
    g_signal_connect(find_widget(window, "radiobutton_can_filtrar"), "toggled", G_CALLBACK(filter_option_toggled),
                     nullptr);
    g_signal_connect_swapped(find_widget(window, "boton_can_sugerir"), "clicked", G_CALLBACK(suggest_cutoff), nullptr);
}
