// The OpenGL drawing area of the main window and its camera handlers.
#pragma once

#include <gtk/gtk.h>

// Initialises GTK and, when the display has OpenGL, GtkGLExt; false when there is no display.
bool init_toolkit();

// The drawing area that becomes gtkglext_modelo3D, or a label "OpenGL not supported".
GtkWidget* create_gl_view();

void connect_view_controls(GtkWidget* window);
