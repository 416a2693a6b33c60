// Open, Save, Save as and Close, and the file-selection dialog's dispatcher.
#include "app/file_commands.h"

#include <string>

#include "app/app_windows.h"
#include "app/gtk_seams.h"
#include "app/refresh.h"
#include "app/unsaved_work.h"
#include "app/widgets.h"
#include "core/capture_model.h"
#include "core/idf_reader.h"
#include "core/idf_writer.h"
#include "core/seams.h"
#include "fuzzy/fim_page.h"
#include "plot/plot_page.h"
#include "skeleton/bones_page.h"
#include "view/layers_panel.h"
#include "view/recording_ui.h"

namespace {

void ok_clicked(GtkButton*, gpointer mode) { file_select_ok(GPOINTER_TO_INT(mode)); }

// Every file is listed: Open reads C3D and TRC captures as well as IDF, told by their content.
void open_command() { file_select("Open file", "*", SELECT_OPEN_CAPTURE); }
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

// The file-selection dialog with its title and pattern, registered as the one that exists.
GtkFileSelection* new_file_selection(const char* title, const char* pattern) {
    GtkWidget* dialog = gtk_file_selection_new(title);
    app_windows.file_selection = dialog;
    g_signal_connect(dialog, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer) { app_windows.file_selection = nullptr; }),
                     nullptr);
    GtkFileSelection* selection = GTK_FILE_SELECTION(dialog);
    gtk_file_selection_complete(selection, pattern);
    gtk_file_selection_set_select_multiple(selection, FALSE);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_MOUSE);
    return selection;
}

}  // namespace

void file_select(const char* title, const char* pattern, int mode) {
    GtkFileSelection* selection = new_file_selection(title, pattern);
    GtkWidget* dialog = GTK_WIDGET(selection);
    g_signal_connect(selection->ok_button, "clicked", G_CALLBACK(ok_clicked), GINT_TO_POINTER(mode));
    g_signal_connect_swapped(selection->ok_button, "clicked", G_CALLBACK(gtk_widget_destroy), dialog);
    g_signal_connect_swapped(selection->cancel_button, "clicked", G_CALLBACK(gtk_widget_destroy), dialog);
    gtk_widget_show(dialog);
}

int file_select_wait(const char* title, const char* pattern, int mode) {
    GtkWidget* dialog = GTK_WIDGET(new_file_selection(title, pattern));
    const int result = run_modal(dialog) == GTK_RESPONSE_OK ? file_select_ok(mode) : 1;
    // The dialog may already be gone with its parent window.
    if (app_windows.file_selection == dialog) gtk_widget_destroy(dialog);
    return result;
}

int file_select_ok(int mode) {
    if (!app_windows.file_selection) return 1;
    const std::string chosen = gtk_file_selection_get_filename(GTK_FILE_SELECTION(app_windows.file_selection));
    // Every chosen name becomes the current layer's source_path, except a capture being opened:
    // that one becomes the new layer's, and a file that cannot be read changes no layer.
    if (mode == SELECT_OPEN_CAPTURE) {
        if (idf_read(chosen) != 0) return 1;
        ui_refresh_opened();
        app.file_name = app.source_path;
        return 0;
    }
    app.source_path = chosen;
    switch (mode) {
    case SELECT_SAVE_CAPTURE_AS: return capture_save_as_chosen(chosen);
    case SELECT_OPEN_SKELETON: skeleton_file_chosen(chosen); return 0;
    case SELECT_SAVE_SKELETON_AS: return skeleton_save_as_chosen(chosen);
    case SELECT_RULES_FILE: rules_file_chosen(chosen); return 0;
    case SELECT_VIDEO_FILE: video_file_chosen(chosen); return 0;
    default: return 1;
    }
}

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
    on("abrir1", "activate", open_command);
    on("boton_herr_abrir", "clicked", open_command);
    on("guardar1", "activate", save_command);
    on("boton_herr_guardar", "clicked", save_command);
    on("guardar_como1", "activate", save_as_command);
    on("cerrar1", "activate", close_command);
    on("boton_herr_cerrar", "clicked", close_command);
}
