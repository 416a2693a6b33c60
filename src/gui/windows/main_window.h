// The windows of the program, built hidden with every widget registered under its name and no
// handler connected (the shell connects them).
#pragma once

#include <gtk/gtk.h>

GtkWidget* create_main_window();
GtkWidget* create_splash_window();
GtkWidget* create_about_window();
GtkWidget* create_preferences_dialog();

// The two notebooks of the main window, built into `window`.
GtkWidget* create_info_notebook(GtkWidget* window);
GtkWidget* create_edit_notebook(GtkWidget* window);
