// GL sections on the view's drawable and the two matrices of the current layer.
#include "gui/gl/gl_context.h"

#include <GL/gl.h>
#include <gtk/gtkgl.h>

#include "engine/scene/view_state.h"
#include "gui/kit/ui_helpers.h"

GlSection::GlSection(GtkWidget* view_widget) {
    if (!view_widget || !GTK_IS_DRAWING_AREA(view_widget) || !gtk_widget_is_gl_capable(view_widget) ||
        !GTK_WIDGET_REALIZED(view_widget)) {
        return;
    }
    GdkGLDrawable* drawable = gtk_widget_get_gl_drawable(view_widget);
    GdkGLContext* context = gtk_widget_get_gl_context(view_widget);
    if (!drawable || !context || !gdk_gl_drawable_gl_begin(drawable, context)) return;
    gdk_gl_drawable_wait_gdk(drawable);
    drawable_ = drawable;
    open_ = true;
}

GlSection::~GlSection() {
    if (!open_) return;
    auto* drawable = static_cast<GdkGLDrawable*>(drawable_);
    gdk_gl_drawable_wait_gl(drawable);
    gdk_gl_drawable_gl_end(drawable);
}

bool GlSection::double_buffered() const {
    return open_ && gdk_gl_drawable_is_double_buffered(static_cast<GdkGLDrawable*>(drawable_));
}

void GlSection::swap_or_flush() {
    if (double_buffered()) {
        gdk_gl_drawable_swap_buffers(static_cast<GdkGLDrawable*>(drawable_));
    } else {
        glFlush();
    }
}

void apply_projection() {
    glViewport(0, 0, view.view_width, view.view_height);
    glMatrixMode(GL_PROJECTION);
    const ViewMatrices matrices = view_matrices(widget_value("spin_ver_zoom"), widget_active("check_ver_orto"));
    glLoadMatrixd(matrices.projection.data());
}

void apply_modelview() {
    glMatrixMode(GL_MODELVIEW);
    const ViewMatrices matrices = view_matrices(widget_value("spin_ver_zoom"), widget_active("check_ver_orto"));
    glLoadMatrixd(matrices.modelview.data());
}
