// The three refreshes of the interface: after the last file has closed, after a file has been
// opened and after the current layer has changed.
#include "gui/shell/refresh.h"

#include <string>

#include "engine/formats/capture_format.h"
#include "engine/formats/idf/idf_format.h"
#include "engine/model/capture_model.h"
#include "engine/model/sample_origin_text.h"
#include "engine/model/seams.h"
#include "engine/processing/gap_fill.h"
#include "engine/scene/view_state.h"
#include "gui/gl/capture_view.h"
#include "gui/gl/redraw_tick.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/menus.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/pages/bones_page.h"
#include "gui/pages/filter_panel.h"
#include "gui/pages/event_strip.h"
#include "gui/pages/gaps_page.h"
#include "gui/pages/marks_page.h"
#include "gui/pages/plot_page.h"
#include "gui/shell/undo_commands.h"
#include "platform/paths.h"

namespace {

void set_sensitive_all(std::initializer_list<const char*> names, bool sensitive) {
    for (const char* name : names) set_widget_sensitive(name, sensitive);
}

void set_column_widths(const char* list, std::initializer_list<int> widths) {
    GtkWidget* widget = main_widget(list);
    if (!widget) return;
    int column = 0;
    for (int width : widths) gtk_clist_set_column_width(GTK_CLIST(widget), column++, width);
}

// The skeleton columns and menus, shared by both refreshes.
void refresh_skeleton_widgets() {
    set_column_widths("clist_hue_marcas", {84, 100, 16});
    set_column_widths("clist_hue_huesos", {84, 84, 32});
    skeleton_fill_marks_list();
    skeleton_fill_bones_list();
    fill_mark_menu(app_windows.main_window, "optionmenu_hue_origen");
    fill_mark_menu(app_windows.main_window, "optionmenu_hue_destino");
    fill_colour_menu(app_windows.main_window, "optionmenu_hue_color");
}

void refresh_information(const std::string& name) {
    set_label_text("label_nombre", name);
    set_label_text("label_frames", std::to_string(app.num_frames));
    set_label_text("label_marcas", std::to_string(app.num_columns));
    set_label_text("label_hz", format_rate(app.capture_rate));
    set_label_text("label_primer_frame", std::to_string(app.first_frame));
    set_label_text("label_analogicos", app.analog_channels > 0 ? std::to_string(app.analog_channels) + " at " +
                                                                      format_rate(app.analog_rate) + " Hz"
                                                                : "None");
    set_label_text("label_tipo", capture_format_title(app.source_format));
    set_label_text("label_errores", std::to_string(app.error_count));
    refresh_computed_count();
}

// With no file open nothing may still show the values of the file that was closed.
void clear_file_information() {
    for (const char* name : {"label_nombre", "label_frames", "label_primer_frame", "label_marcas", "label_hz",
                             "label_analogicos", "label_tipo", "label_errores", "label_computados"}) {
        set_label_text(name, "");
    }
    set_entry_text("entry_hue_fichero", "");
    for (const char* name : {"clist_hue_marcas", "clist_hue_huesos"}) {
        if (GtkWidget* list = main_widget(name)) gtk_clist_clear(GTK_CLIST(list));
    }
}

// Frame slider, trajectory editor and channel-editing ranges: what follows the frame count.
void refresh_frame_ranges() {
    const int frames = app.num_frames;
    set_widget_range("hscale_frame", 0, frames - 1, 0);
    set_widget_range("spinbutton_mar_origen", 0, frames - 2, 1);
    set_widget_range("spinbutton_mar_destino", 1, frames - 1, 1);
    fill_mark_menu(app_windows.main_window, "option_mar_marcas");
    refresh_marks_page();
    set_widget_range("spinbutton_can_origen", 0, frames - 2, 0);
    set_widget_range("spinbutton_can_destino", 1, frames - 1, frames - 1);
    set_widget_range("spinbutton_can_frameorigen", 0, frames - 2, 0);
    set_widget_range("spinbutton_can_framedestino", 1, frames - 1, frames - 1);
    set_widget_value("spinbutton_can_maxgap", default_max_gap(app.capture_rate));
    fill_mark_menu(app_windows.main_window, "optionmenu_can_origen");
    fill_mark_menu(app_windows.main_window, "optionmenu_can_destino");
    fill_mark_lists();
    refresh_gaps_page();
    refresh_event_strip();
}

void refresh_trajectory_range() {
    set_widget_range("spin_ver_origen_trazas", 0, app.num_frames - 2, 0);
    set_widget_range("spin_ver_destino_trazas", 1, app.num_frames - 1, app.num_frames - 1);
}

}  // namespace

void refresh_computed_count() {
    if (app.current_layer == 0) return;
    set_label_text("label_computados", std::to_string(count_computed_samples(app)));
}

void refresh_after_samples_changed() {
    refresh_marks_page();
    refresh_gaps_page();
    refresh_computed_count();
}

void ui_reset_no_file() {
    set_widget_sensitive("button_lay_vall", false);
    char row[32];
    for (int n = 1; n <= MAX_LAYERS; ++n) {
        std::snprintf(row, sizeof row, "hbox_lay_%d", n);
        if (GtkWidget* widget = main_widget(row)) gtk_widget_hide(widget);
    }
    app.bone_count = 0;
    reset_mark_styles(app);
    clear_file_information();
    clear_gaps_page();
    refresh_event_strip();
    set_sensitive_all({"ver_reglas1", "editor_de_reglas1", "notebook_edicion", "notebook_info", "boton_herr_guardar",
                       "boton_herr_cerrar", "boton_herr_interpolar", "boton_herr_suavizar", "boton_herr_ambos",
                       "guardar_como1", "guardar1", "cerrar1", "ver_fichero_origen1", "frame1", "gtkglext_modelo3D",
                       "clist_codecs_avi", "label_quality_avi", "hscale_quality_avi"},
                      false);
    set_sensitive_all({"boton_herr_abrir", "abrir1"}, true);
    set_widget_active("boton_play", false);
    refresh_edit_menu();
}

void ui_refresh_opened() {
    for (const char* offset : {"spinbutton_offsetx", "spinbutton_offsety", "spinbutton_offsetz"}) set_widget_value(offset, 0);
    set_widget_value("hscale_init", 0);
    set_widget_value("hscale_scaledata", 0);
    set_widget_active("checkbutton_drawbox", true);
    set_sensitive_all({"button_lay_vall", "gtkglext_modelo3D"}, true);

    app.rules_file.clear();
    set_entry_text("entry_mib_fichero", "");
    clear_text_view("text_mib_reglas");
    clear_text_view("text_mib_acciones");
    app.bone_count = 0;
    app.skeleton_file.clear();
    set_entry_text("entry_hue_fichero", "");
    refresh_skeleton_widgets();

    // The framing fills the view at zoom 1; the sizes follow the capture's extent below.
    set_widget_range("spin_ver_zoom", 0, 3.0, 1.0);
    set_widget_value("spin_ver_rastro", 0);
    refresh_trajectory_range();
    set_widget_value("spin_ver_tamano_trazas", 5.0);
    set_widget_value("spin_ver_rastro", 0);

    compute_view_bounds();
    reset_camera(view.camera);
    fit_view_to_opened_capture();
    set_sensitive_all({"notebook_edicion", "notebook_info", "boton_herr_guardar", "boton_herr_cerrar",
                       "boton_herr_interpolar", "boton_herr_suavizar", "boton_herr_ambos", "guardar1", "guardar_como1",
                       "cerrar1", "ver_fichero_origen1", "frame1"},
                      true);
    refresh_information(last_path_component(app.source_path));
    history_append("The file: " + app.source_path + " was opened.\n");

    set_widget_sensitive("spinbutton_can_factor_suavizado", false);
    set_widget_range("spinbutton_can_factor_suavizado", 1, 30.0, 5.0);
    set_widget_active("radiobutton_can_interpolar", true);
    reset_filter_panel();
    refresh_frame_ranges();
    fill_layer_menu(app_windows.main_window, "option_layer_plot");
    plot_layer_changed();
    refresh_edit_menu();
}

// After layer_fetch: the working copy already holds the slot's names and data.
void ui_refresh_layer() {
    const Layer& slot = app.layers[app.current_layer];
    set_widget_value("spinbutton_offsetx", slot.offset_x);
    set_widget_value("spinbutton_offsety", slot.offset_y);
    set_widget_value("spinbutton_offsetz", slot.offset_z);
    set_widget_value("hscale_init", slot.initial_frame);
    set_widget_value("hscale_scaledata", slot.scale);
    set_widget_active("checkbutton_drawbox", slot.draw_box != 0);

    set_entry_text("entry_mib_fichero", app.rules_file);
    clear_text_view("text_mib_reglas");
    clear_text_view("text_mib_acciones");
    set_entry_text("entry_hue_fichero", app.skeleton_file);
    refresh_skeleton_widgets();
    refresh_trajectory_range();
    compute_view_bounds();
    reset_camera(view.camera);
    fit_view_to_current_layer();
    refresh_information(app.file_name);
    refresh_frame_ranges();
    refresh_filter_range();
    refresh_edit_menu();
    request_redraw();
}

void connect_panel_toggles(GtkWidget* window) {
    const char* pairs[][2] = {{"edit_pannel1", "notebook_edicion"},
                              {"visualization_pannel1", "notebook_info"},
                              {"active_layers1", "vbox_layers"},
                              {"toolbar2", "toolbar1"}};
    for (const auto& pair : pairs) {
        g_signal_connect(find_widget(window, pair[0]), "activate", G_CALLBACK(+[](GtkCheckMenuItem* item, gpointer panel) {
                             if (gtk_check_menu_item_get_active(item)) {
                                 gtk_widget_show(find_widget(GTK_WIDGET(item), static_cast<const char*>(panel)));
                             } else {
                                 gtk_widget_hide(find_widget(GTK_WIDGET(item), static_cast<const char*>(panel)));
                             }
                         }),
                         const_cast<char*>(pair[1]));
    }
}
