// The window in which Zemo shows a plot's picture itself, when no image viewer could show it.
#pragma once

#include <gtk/gtk.h>

#include <string>

// Shows the PNG at `path` in the plot window (made on first use, reused after), over the main
// window. False, and no window, when the file holds no picture.
bool show_plot_image(const std::string& path);

// The plot window while it is open, else null.
GtkWidget* plot_image_window();
