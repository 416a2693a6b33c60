// Handlers of the channel panels: they read their widgets, run the engine and refresh.
#include "gui/pages/channels_page.h"

#include <cstdio>
#include <string>
#include <vector>

#include "engine/history/undo_step.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/processing/channel_commands.h"
#include "engine/processing/interchange_check.h"
#include "engine/processing/trajectory_edit.h"
#include "engine/scene/view_state.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/layer_refresh.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/pages/filter_panel.h"

namespace {

std::vector<int> selected_channels() { return selected_list_rows("list_can", app.mark_count()); }

void smooth_option_toggled(GtkToggleButton* button, gpointer) {
    set_widget_sensitive("spinbutton_can_factor_suavizado", gtk_toggle_button_get_active(button));
}

void fill_option_toggled(GtkToggleButton* button, gpointer) {
    set_widget_sensitive("spinbutton_can_maxgap", gtk_toggle_button_get_active(button));
}

}  // namespace

void select_all_channels() {
    if (GtkWidget* list = main_widget("list_can")) gtk_clist_select_all(GTK_CLIST(list));
}

// Frames and the factor of these panels are read rounded to the nearest integer.
void process_selected_channels() {
    if (app.current_layer == 0) return;
    const int first = widget_rounded("spinbutton_can_origen");
    const int last = widget_rounded("spinbutton_can_destino");
    const int factor = widget_rounded("spinbutton_can_factor_suavizado");
    const std::vector<int> channels = selected_channels();
    if (widget_active("radiobutton_can_interpolar")) {
        UndoStep step(app, "Repair");
        step.keep_marks(channels, first, last);
        run_repair(app, first, last, channels);
    } else if (widget_active("radiobutton_can_rellenar")) {
        // A gap that reaches past the range may be filled whole: the marks are kept whole.
        UndoStep step(app, "Fill");
        step.keep_marks(channels, 0, app.num_frames - 1);
        run_fill(app, first, last, channels, FillMethod::automatic, widget_rounded("spinbutton_can_maxgap"));
    } else if (widget_active("radiobutton_can_filtrar")) {
        UndoStep step(app, "Filter");
        step.keep_marks(channels, first, last);
        filter_selected_channels(first, last, channels);
    } else {
        UndoStep step(app, "Smooth");
        step.keep_marks(channels, first, last);
        run_smooth(app, first, last, channels, factor < 1 ? 1 : factor);
    }
    // The information panel's count would otherwise still show the lost coordinates of opening.
    // (The " Marks " page follows by itself: the commands note their change of samples.)
    set_label_text("label_errores", std::to_string(app.error_count));
}

void toolbar_repair() {
    if (app.current_layer == 0) return;
    set_widget_active("radiobutton_can_interpolar", true);
    set_widget_value("spinbutton_can_origen", 0);
    set_widget_value("spinbutton_can_destino", app.num_frames - 1);
    select_all_channels();
    process_selected_channels();
}

void toolbar_smooth() {
    if (app.current_layer == 0) return;
    set_widget_active("radiobutton_can_suavizar", true);
    set_widget_value("spinbutton_can_factor_suavizado", 5);
    set_widget_value("spinbutton_can_origen", 0);
    set_widget_value("spinbutton_can_destino", app.num_frames - 1);
    select_all_channels();
    process_selected_channels();
}

void toolbar_both() {
    if (app.current_layer == 0) return;
    UndoStep step(app, "Repair and smooth");
    toolbar_repair();
    toolbar_smooth();
}

void interchange_command() {
    if (app.current_layer == 0) return;
    const int first = widget_int("spinbutton_can_frameorigen");
    const int last = widget_int("spinbutton_can_framedestino");
    const int a = option_position("optionmenu_can_origen");
    const int b = option_position("optionmenu_can_destino");
    const InterchangeFault fault = interchange_fault(app, first, last, a, b);
    if (fault != InterchangeFault::none) {
        if (*interchange_fault_text(fault)) show_error(interchange_fault_text(fault));
        return;
    }
    {
        UndoStep step(app, "Interchange");
        step.keep(a, first, last);
        step.keep(b, first, last);
        interchange_channels(app, first, last, a, b);
    }
    show_message("Channels Interchange Finished.", MESSAGE_INFO, BUTTONS_OK);
    char text[512];
    std::snprintf(text, sizeof text, "Interchange %s <--> %s in [%d, %d]\n", app.channels[a].name_text().c_str(),
                  app.channels[b].name_text().c_str(), first, last);
    history_append(text);
}

void apply_data_scale() {
    if (app.current_layer == 0) return;
    const float s = static_cast<float>(widget_value("hscale_scaledata"));
    view.transform.scale = s;
    {
        UndoStep step(app, "Scale");
        step.keep_all();
        scale_data(app, s);
    }
    set_widget_value("hscale_scaledata", 0);
    view.transform.scale = 0;
    // The slot takes the widgets' placement first, so the refresh below shows the offsets as the
    // user left them, with the scale back at 0.
    layer_store(app.current_layer);
    app.layers[app.current_layer].scale = 0;
    refresh_for_current_layer();
}

void connect_channels_page(GtkWidget* window) {
    const auto on = [window](const char* name, void (*handler)()) {
        g_signal_connect_swapped(find_widget(window, name), "clicked", G_CALLBACK(handler), nullptr);
    };
    on("boton_can_proceder", process_selected_channels);
    on("boton_can_seltodos", select_all_channels);
    on("boton_herr_interpolar", toolbar_repair);
    on("boton_herr_suavizar", toolbar_smooth);
    on("boton_herr_ambos", toolbar_both);
    on("boton_can_intercambiar", interchange_command);
    on("button_scaledata", apply_data_scale);
    g_signal_connect(find_widget(window, "radiobutton_can_suavizar"), "toggled", G_CALLBACK(smooth_option_toggled),
                     nullptr);
    g_signal_connect(find_widget(window, "radiobutton_can_rellenar"), "toggled", G_CALLBACK(fill_option_toggled),
                     nullptr);
    connect_filter_panel(window);
}
