// The OpenGL drawing area of the main window and its camera handlers.
#pragma once

#include <gtk/gtk.h>

// Initialises GTK and, when the display has OpenGL, GtkGLExt; false when there is no display.
bool init_toolkit();

// The drawing area that becomes gtkglext_modelo3D, or a label "OpenGL not supported".
GtkWidget* create_gl_view();

// The current layer's projection and modelview, built from the view state and the widgets.
void apply_projection();
void apply_modelview();

// Opens a GL section on the view (make current, wait for GDK); closes it when destroyed.
class GlSection {
public:
    explicit GlSection(GtkWidget* view);
    ~GlSection();
    bool open() const { return open_; }
    bool double_buffered() const;
    void swap_or_flush();

private:
    void* drawable_ = nullptr;
    bool open_ = false;
};

void connect_view_controls(GtkWidget* window);
