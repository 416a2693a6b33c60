// The Edit menu's Undo and Redo, and their keys: Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo,
// unless the focus is where text is typed.
#pragma once

#include <gtk/gtk.h>

void undo_command();
void redo_command();
// The Edit menu's items name the step they would undo and redo, for the current layer.
void refresh_edit_menu();

void connect_undo_commands(GtkWidget* window);
