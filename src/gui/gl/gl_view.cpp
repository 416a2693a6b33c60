// The OpenGL view: creation with its configuration fallbacks, the GL state set once at realize,
// the size kept a multiple of 4, and the mouse, key and button handlers that move the camera.
#include "gui/gl/gl_view.h"

#include <GL/gl.h>
#include <gdk/gdkkeysyms.h>
#include <gtk/gtkgl.h>

#include <cstdio>

#include "engine/model/seams.h"
#include "engine/scene/view_state.h"
#include "gui/gl/frame_state.h"
#include "gui/gl/gl_context.h"
#include "gui/gl/mark_picking.h"
#include "gui/gl/overlay.h"
#include "gui/gl/record_tick.h"
#include "gui/gl/redraw_tick.h"
#include "gui/gl/scene_render.h"
#include "gui/gl/view_keys.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "platform/paths.h"
#include "platform/program_folders.h"

namespace {

// False when the display has no OpenGL (no GLX): the view is then a label.
bool gl_initialised = false;

// What counts as dragging in a motion event: the buttons, Shift and Control. The lock keys
// (NumLock is usually on) and the other modifiers do not, or a plain move would pan the view.
constexpr guint DRAG_STATE_MASK = GDK_SHIFT_MASK | GDK_CONTROL_MASK | GDK_BUTTON1_MASK | GDK_BUTTON2_MASK |
                                  GDK_BUTTON3_MASK | GDK_BUTTON4_MASK | GDK_BUTTON5_MASK;

GdkGLConfig* choose_config() {
    GdkGLConfig* config = gdk_gl_config_new_by_mode(
        static_cast<GdkGLConfigMode>(GDK_GL_MODE_RGBA | GDK_GL_MODE_DEPTH | GDK_GL_MODE_DOUBLE));
    if (config) return config;
    show_message("You can't use double buffer.\nTrying to use simple buffer.", MESSAGE_ERROR, BUTTONS_CLOSE);
    config = gdk_gl_config_new_by_mode(static_cast<GdkGLConfigMode>(GDK_GL_MODE_RGBA | GDK_GL_MODE_DEPTH));
    if (!config) show_message("I can't draw in OpenGL widget", MESSAGE_ERROR, BUTTONS_CLOSE);
    return config;
}

void on_gl_realize(GtkWidget* widget, gpointer) {
    GlSection gl(widget);
    if (!gl.open()) return;
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat diffuse[] = {0.8f, 0.8f, 0.8f, 1.0f};
    const GLfloat position[] = {1.0f, 1.0f, 1.0f, 0.0f};
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    // The position goes through the modelview in effect. The configure handler may already have
    // loaded the camera's (it draws when a capture is open at start-up), which would put the light
    // behind the scene; with the identity it shines from over the viewer's shoulder.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    overlay_load_font(runtime_path("images\\font.tga"));
}

gboolean on_gl_configure(GtkWidget* widget, GdkEventConfigure*, gpointer) {
    GlSection gl(widget);
    if (!gl.open()) return TRUE;
    view.view_width = view_width_for(widget->allocation.width);
    view.view_height = widget->allocation.height;
    widget->allocation.width = view.view_width;
    char text[64];
    std::snprintf(text, sizeof text, "GLWindow [%d x %d]", view.view_width, view.view_height);
    status_set(text);
    set_label_text("label_avi_width", std::to_string(view.view_width));
    set_label_text("label_avi_height", std::to_string(view.view_height));
    apply_projection();
    const FrameState frame;
    render_current_layer_once();
    return TRUE;
}

gboolean on_gl_button_press(GtkWidget*, GdkEventButton* event, gpointer) {
    camera_press(view.camera, static_cast<int>(event->x), static_cast<int>(event->y));
    return TRUE;
}

// The event's own position and state: the pointer read later may already be past the button's
// release, and its position belongs to no event.
gboolean on_gl_motion(GtkWidget* widget, GdkEventMotion* event, gpointer) {
    const int x = static_cast<int>(event->x);
    const int y = static_cast<int>(event->y);
    const guint state = event->state & DRAG_STATE_MASK;
    {
        GlSection gl(widget);
        if (state & GDK_BUTTON1_MASK) {
            camera_drag(view.camera, x, y, true);
            if (gl.open()) apply_modelview();
        } else if (state != 0) {
            camera_drag(view.camera, x, y, false);
            if (gl.open()) {
                apply_modelview();
                apply_projection();
            }
        }
    }
    if (!widget_active("boton_play") && state != 0) {
        redraw_view(widget);
        if (widget_active("boton_rec")) capture_frame_bmp();
    }
    // The view asks for motion hints: the next motion is reported once this one is drawn.
    gdk_event_request_motions(event);
    return TRUE;
}

void axis_clicked(GtkButton*, gpointer axis) {
    camera_axis_preset(view.camera, static_cast<char>(GPOINTER_TO_INT(axis)));
    redraw_view(main_widget("gtkglext_modelo3D"));
}

void refresh_matrices() {
    GlSection gl(main_widget("gtkglext_modelo3D"));
    if (!gl.open()) return;
    apply_modelview();
    apply_projection();
}

gboolean on_view_key_press(GtkWidget* window, GdkEventKey* event, gpointer) {
    if (view_key_action(window, event)) return TRUE;
    double step = 0;
    switch (event->keyval) {
    case GDK_plus:
    case GDK_KP_Add: step = 0.01; break;
    case GDK_minus:
    case GDK_KP_Subtract: step = -0.01; break;
    case GDK_Page_Down: step = 0.05; break;
    case GDK_Page_Up: step = -0.05; break;
    default: break;
    }
    if (step != 0) {
        const double zoom = widget_value("spin_ver_zoom") + step;
        refresh_matrices();
        set_widget_value("spin_ver_zoom", zoom);
    }
    // The key has yet to reach the focused widget: the keys typed after it wait their turn.
    request_redraw_keeping_events();
    return FALSE;
}

}  // namespace

bool init_toolkit() {
    if (!gtk_init_check(nullptr, nullptr)) return false;
    // A display without OpenGL still runs the program, with a label in place of the view.
    gl_initialised = gtk_gl_init_check(nullptr, nullptr);
    return true;
}

GtkWidget* create_gl_view() {
    if (!gl_initialised || !gdk_gl_query_extension()) {
        show_message("OpenGL not supported", MESSAGE_ERROR, BUTTONS_CLOSE);
        return gtk_label_new("OpenGL not supported");
    }
    GdkGLConfig* config = choose_config();
    if (!config) return gtk_label_new("OpenGL not supported");
    GtkWidget* area = gtk_drawing_area_new();
    gtk_widget_set_gl_capability(area, config, nullptr, TRUE, GDK_GL_RGBA_TYPE);
    gtk_widget_set_events(area, GDK_EXPOSURE_MASK | GDK_POINTER_MOTION_MASK | GDK_POINTER_MOTION_HINT_MASK |
                                    GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
    g_signal_connect_after(area, "realize", G_CALLBACK(on_gl_realize), nullptr);
    g_signal_connect(area, "configure_event", G_CALLBACK(on_gl_configure), nullptr);
    g_signal_connect(area, "expose_event", G_CALLBACK(on_view_expose), nullptr);
    g_signal_connect(area, "motion_notify_event", G_CALLBACK(on_gl_motion), nullptr);
    g_signal_connect(area, "button_press_event", G_CALLBACK(on_gl_button_press), nullptr);
    g_signal_connect(area, "button_release_event", G_CALLBACK(on_gl_button_release), nullptr);
    return area;
}

void connect_view_controls(GtkWidget* window) {
    g_signal_connect(find_widget(window, "button_ver_ejex"), "clicked", G_CALLBACK(axis_clicked), GINT_TO_POINTER('x'));
    g_signal_connect(find_widget(window, "button_ver_ejey"), "clicked", G_CALLBACK(axis_clicked), GINT_TO_POINTER('y'));
    g_signal_connect(find_widget(window, "button_ver_ejez"), "clicked", G_CALLBACK(axis_clicked), GINT_TO_POINTER('z'));
    g_signal_connect(window, "key_press_event", G_CALLBACK(on_view_key_press), nullptr);
    for (const char* name : {"spin_ver_zoom", "spin_blending"}) {
        g_signal_connect_swapped(find_widget(window, name), "changed", G_CALLBACK(refresh_matrices), nullptr);
    }
    g_signal_connect_swapped(find_widget(window, "check_ver_orto"), "toggled", G_CALLBACK(request_redraw), nullptr);
}
