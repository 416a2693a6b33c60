// The file-selection dialog and its dispatcher: the chosen name goes to the action of the mode the
// dialog was opened for.
#include "gui/kit/file_dialog.h"

#include <map>

#include "engine/model/capture_model.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/gtk_seams.h"

namespace {

std::map<int, FileChosenAction> actions;

void ok_clicked(GtkButton*, gpointer mode) { file_select_ok(GPOINTER_TO_INT(mode)); }

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

void set_file_select_action(int mode, FileChosenAction action) { actions[mode] = action; }

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
    if (mode != SELECT_OPEN_CAPTURE) app.source_path = chosen;
    const auto action = actions.find(mode);
    return action != actions.end() && action->second ? action->second(chosen) : 1;
}
