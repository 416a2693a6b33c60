// The program's windows, each set while it exists. Every other widget is looked up by name.
#pragma once

#include <gtk/gtk.h>

struct AppWindows {
    GtkWidget* main_window = nullptr;
    GtkWidget* splash_window = nullptr;
    GtkWidget* preferences_dialog = nullptr;
    GtkWidget* file_selection = nullptr;
};

extern AppWindows app_windows;

// A widget of the main window by name (find_widget on main_window).
GtkWidget* main_widget(const char* name);
