// The main window's hook-ups: the handlers of its menus, toolbar, panels and pages.
#pragma once

#include <gtk/gtk.h>

// Connects every handler of a window built by create_main_window.
void connect_main_window_signals(GtkWidget* window);
