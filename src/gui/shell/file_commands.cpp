// Open, Save, Save as and Close; File > Recent.
#include "gui/shell/file_commands.h"

#include <string>

#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/file_dialog.h"
#include "gui/kit/menus.h"
#include "gui/kit/widgets.h"
#include "gui/pages/layers_panel.h"
#include "gui/pages/plot_page.h"
#include "gui/pages/unsaved_work.h"
#include "gui/shell/capture_opening.h"
#include "gui/shell/refresh.h"

namespace {

// Every file is listed: Open reads C3D and TRC captures as well as IDF, told by their content. The
// dialog starts in the folder of the capture opened last.
void open_command() {
    file_select("Open file", "*", SELECT_OPEN_CAPTURE);
    const std::string folder = last_capture_folder();
    if (!folder.empty() && app_windows.file_selection) {
        gtk_file_selection_set_filename(GTK_FILE_SELECTION(app_windows.file_selection), (folder + "/*").c_str());
    }
}
void save_command() { idf_save(); }
void save_as_command() { file_select("Save as...", "*.idf", SELECT_SAVE_CAPTURE_AS); }

int lowest_open_slot() {
    for (int n = 1; n <= MAX_LAYERS; ++n) {
        if (app.layers[n].in_use) return n;
    }
    return 0;
}

void close_command() {
    if (app.current_layer != 0 && close_confirmed()) file_close();
}

int capture_save_as_chosen(const std::string& path) {
    if (!replace_confirmed(path)) return 1;
    return idf_save_as(path);
}

}  // namespace

void file_close() {
    if (app.current_layer == 0) return;
    const std::string closed = close_current_capture();
    if (app.open_count == 0) {
        ui_reset_no_file();
        app.current_layer = 0;
    } else {
        const int n = lowest_open_slot();
        layer_select(n);
        show_layer_row(n);
    }
    status_set(" File has been closed");
    history_append("File closed: " + closed + "\n");
    fill_layer_menu(app_windows.main_window, "option_layer_plot");
    plot_layer_changed();
}

void connect_file_commands(GtkWidget* window) {
    const auto on = [window](const char* name, const char* signal, void (*command)()) {
        g_signal_connect_swapped(find_widget(window, name), signal, G_CALLBACK(command), nullptr);
    };
    create_recent_menu(window);
    accept_dropped_captures(window);
    on("abrir1", "activate", open_command);
    on("boton_herr_abrir", "clicked", open_command);
    on("guardar1", "activate", save_command);
    on("boton_herr_guardar", "clicked", save_command);
    on("guardar_como1", "activate", save_as_command);
    on("cerrar1", "activate", close_command);
    on("boton_herr_cerrar", "clicked", close_command);
    set_file_select_action(SELECT_OPEN_CAPTURE, open_capture_layer);
    set_file_select_action(SELECT_SAVE_CAPTURE_AS, capture_save_as_chosen);
}
