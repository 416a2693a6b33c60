// The view's GL context: a section in which GL draws on the view, and the projection and
// modelview built from the view state and the widgets.
#pragma once

#include <gtk/gtk.h>

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
