// The commands of the shell that only launch programs or show small windows, and Quit.
#pragma once

#include <gtk/gtk.h>

// Stops playback, closes every open layer and leaves the main loop, asking nothing: the menu and
// the window's close button ask about unsaved work before they call it.
void quit_command();

void connect_app_commands(GtkWidget* window);
