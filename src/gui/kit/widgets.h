// Finding widgets by name and loading the images of the windows.
#pragma once

#include <gtk/gtk.h>

// The widget registered under `name` on the top-level window that holds `widget` (climbing
// through the widget a menu is attached to), or nullptr with the warning "Widget not found: %s".
GtkWidget* find_widget(GtkWidget* widget, const char* name);

// Registers `widget` under `name` on `window` so find_widget finds it.
void register_widget(GtkWidget* window, const char* name, GtkWidget* widget);

// An image widget showing images/FILE, or a transparent 1 x 1 image (with a warning) when the
// file is missing or cannot be loaded.
GtkWidget* create_pixmap(GtkWidget* widget, const char* filename);
