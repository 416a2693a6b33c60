// Preferences, About, the external editors and viewer, the user manual, and Quit.
#include "gui/shell/app_commands.h"

#include <string>
#include <vector>

#include "engine/config.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/pages/layers_panel.h"
#include "gui/pages/unsaved_work.h"
#include "gui/shell/file_commands.h"
#include "gui/windows/main_window.h"
#include "platform/command_words.h"
#include "platform/launch.h"
#include "platform/paths.h"
#include "platform/program_folders.h"

namespace {

std::string command_text(GtkWidget* dialog, const char* name) {
    std::string text = entry_text(dialog, name);
    if (text.size() > COMMAND_CAPACITY - 1) text.resize(COMMAND_CAPACITY - 1);
    return text;
}

void preferences_ok(GtkButton*, gpointer) {
    GtkWidget* dialog = app_windows.preferences_dialog;
    app.xml_editor_command = command_text(dialog, "entry_editorxml");
    app.idf_editor_command = command_text(dialog, "entry_editoridf");
    app.xml_viewer_command = command_text(dialog, "entry_visorxml");
    config_save(config_file_path(program_folders()));
    gtk_widget_destroy(dialog);
}

void preferences_cancel(GtkButton*, gpointer) { gtk_widget_destroy(app_windows.preferences_dialog); }

void preferences_command() {
    GtkWidget* dialog = create_preferences_dialog();
    app_windows.preferences_dialog = dialog;
    g_signal_connect(dialog, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer) { app_windows.preferences_dialog = nullptr; }),
                     nullptr);
    gtk_entry_set_text(GTK_ENTRY(find_widget(dialog, "entry_editorxml")), app.xml_editor_command.c_str());
    gtk_entry_set_text(GTK_ENTRY(find_widget(dialog, "entry_editoridf")), app.idf_editor_command.c_str());
    gtk_entry_set_text(GTK_ENTRY(find_widget(dialog, "entry_visorxml")), app.xml_viewer_command.c_str());
    g_signal_connect(find_widget(dialog, "boton_preferencias_aceptar"), "clicked", G_CALLBACK(preferences_ok), nullptr);
    g_signal_connect(find_widget(dialog, "boton_preferencias_cancelar"), "clicked", G_CALLBACK(preferences_cancel), nullptr);
    gtk_widget_show(dialog);
}

void about_command() { gtk_widget_show(create_about_window()); }

// The configured command's words, then the file as one argument of its own (none while no file
// has been chosen). An empty command launches nothing, as a missing program would.
void launch_configured(const std::string& command, const std::string& file) {
    const auto words = split_command_words(command);
    if (!words) {
        show_error("Error in the command:\n " + command + "\n A quote is not closed.");
        return;
    }
    if (words->empty()) return;
    std::vector<std::string> argv = *words;
    if (!file.empty()) argv.push_back(file);
    launch_detached(argv);
}

void edit_rules_command() { launch_configured(app.xml_editor_command, app.rules_file); }
void view_rules_command() { launch_configured(app.xml_viewer_command, app.rules_file); }
void view_capture_command() { launch_configured(app.idf_editor_command, app.file_name); }
void user_manual_command() { launch_detached({"xdg-open", runtime_path("help\\index.html")}); }

// Quit from the menu and the window's close button asks about unsaved work first; a Cancel
// keeps the program running, and the window with it.
void quit_menu_command() {
    if (quit_confirmed()) quit_command();
}

gboolean main_window_deleted(GtkWidget*, GdkEvent*, gpointer) {
    if (!quit_confirmed()) return TRUE;
    quit_command();
    return FALSE;
}

}  // namespace

void quit_command() {
    set_widget_active("boton_play", false);
    for (int n = 1; n <= MAX_LAYERS; ++n) {
        if (!app.layers[n].in_use) continue;
        layer_select(n);
        file_close();
    }
    if (gtk_main_level() > 0) gtk_main_quit();
}

void connect_app_commands(GtkWidget* window) {
    const auto on = [window](const char* name, void (*command)()) {
        g_signal_connect_swapped(find_widget(window, name), "activate", G_CALLBACK(command), nullptr);
    };
    on("preferencias1", preferences_command);
    on("acerca_de1", about_command);
    on("editor_de_reglas1", edit_rules_command);
    on("ver_reglas1", view_rules_command);
    on("ver_fichero_origen1", view_capture_command);
    on("manual_del_usuario1", user_manual_command);
    on("salir1", quit_menu_command);
    g_signal_connect(window, "delete_event", G_CALLBACK(main_window_deleted), nullptr);
}
