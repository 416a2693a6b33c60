// The main window: menus, toolbar, layers panel, the 3-D view frame with its frame controls,
// the two notebooks and the status bar.
#include "gui/windows/main_window.h"

#include <gdk/gdkkeysyms.h>

#include <cstdio>

#include "engine/model/limits.h"
#include "gui/gl/gl_view.h"
#include "gui/pages/event_strip.h"
#include "gui/kit/widgets.h"
#include "gui/kit/window_builder.h"

namespace {

struct MenuItem {
    const char* name;
    const char* label;  // nullptr: a separator
    guint key;
    GdkModifierType modifiers;
    bool check;
};

GtkWidget* add_menu(WindowBuilder& b, GtkWidget* bar, GtkAccelGroup* accel, const char* name, const char* label,
                    std::initializer_list<MenuItem> items) {
    GtkWidget* top = b.named(name, gtk_menu_item_new_with_label(label));
    gtk_menu_shell_append(GTK_MENU_SHELL(bar), top);
    GtkWidget* menu = gtk_menu_new();
    gtk_menu_set_accel_group(GTK_MENU(menu), accel);
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), menu);
    for (const MenuItem& item : items) {
        GtkWidget* w;
        if (!item.label) {
            w = gtk_separator_menu_item_new();
            gtk_widget_set_sensitive(w, FALSE);
        } else if (item.check) {
            w = gtk_check_menu_item_new_with_label(item.label);
            gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(w), TRUE);
        } else {
            w = gtk_menu_item_new_with_label(item.label);
        }
        b.named(item.name, w);
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), w);
        if (item.key) gtk_widget_add_accelerator(w, "activate", accel, item.key, item.modifiers, GTK_ACCEL_VISIBLE);
    }
    return top;
}

GtkWidget* create_menubar(WindowBuilder& b, GtkAccelGroup* accel) {
    GtkWidget* bar = b.named("menubar1", gtk_menu_bar_new());
    const auto alt = GDK_MOD1_MASK;
    const auto none = static_cast<GdkModifierType>(0);
    add_menu(b, bar, accel, "fichero1", "File",
             {{"abrir1", "Open", GDK_o, alt, false},
              {"guardar1", "Save", GDK_s, alt, false},
              {"guardar_como1", "Save as...", 0, none, false},
              {"exportar_video1", "Export Video\u2026", 0, none, false},
              {"separator2", nullptr, 0, none, false},
              {"cerrar1", "Close", GDK_c, alt, false},
              {"separator1", nullptr, 0, none, false},
              {"salir1", "Quit", GDK_x, alt, false}});
    const auto control = GDK_CONTROL_MASK;
    add_menu(b, bar, accel, "editar1", "Edit",
             {{"deshacer1", "Undo", GDK_z, control, false},
              {"rehacer1", "Redo", GDK_z, static_cast<GdkModifierType>(control | GDK_SHIFT_MASK), false}});
    add_menu(b, bar, accel, "configurar1", "Configure", {{"preferencias1", "Preferences", GDK_p, alt, false}});
    add_menu(b, bar, accel, "herramientas1", "Tools",
             {{"editor_de_reglas1", "Edit Rules", GDK_e, alt, false},
              {"ver_reglas1", "View Rules", GDK_r, alt, false},
              {"ver_fichero_origen1", "View Capture File", GDK_v, alt, false}});
    add_menu(b, bar, accel, "view2", "View",
             {{"edit_pannel1", "Edit Panel", GDK_F2, none, true},
              {"visualization_pannel1", "Visualization Panel", GDK_F3, none, true},
              {"active_layers1", "Active Layers", GDK_F4, none, true},
              {"toolbar2", "Toolbar", GDK_F5, none, true}});
    add_menu(b, bar, accel, "ayuda1", "Help",
             {{"manual_del_usuario1", "User Manual", GDK_F1, none, false},
              {"separator3", nullptr, 0, none, false},
              {"acerca_de1", "About...", 0, none, false}});
    return bar;
}

GtkWidget* create_toolbar(WindowBuilder& b) {
    GtkWidget* toolbar = b.named("toolbar1", gtk_toolbar_new());
    gtk_toolbar_set_style(GTK_TOOLBAR(toolbar), GTK_TOOLBAR_BOTH);
    const struct {
        const char* name;
        const char* text;
        const char* icon;
    } buttons[] = {
        {"boton_herr_abrir", "Open", "abrir.XPM"},         {"boton_herr_guardar", "Save", "guardar.XPM"},
        {"boton_herr_cerrar", "Close", "cerrar.XPM"},      {"boton_herr_interpolar", "Repair", "interpolar.XPM"},
        {"boton_herr_suavizar", "Smooth", "suavizar.XPM"}, {"boton_herr_ambos", "Both", "ambos.XPM"},
    };
    for (const auto& button : buttons) {
        GtkWidget* icon = create_pixmap(b.window(), button.icon);
        gtk_widget_show(icon);
        GtkToolItem* item = gtk_tool_button_new(icon, button.text);
        b.named(button.name, GTK_WIDGET(item));
        gtk_toolbar_insert(GTK_TOOLBAR(toolbar), item, -1);
    }
    return toolbar;
}

GtkWidget* create_layers_panel(WindowBuilder& b) {
    GtkWidget* panel = b.vbox("vbox_layers", 1);
    pack(panel, text_label(" ", 0.5f));
    GtkWidget* all = b.named("button_lay_vall", gtk_button_new());
    GtkWidget* inner = b.hbox("hbox59", 1);
    pack(inner, text_label("View", 0.5f));
    pack(inner, create_pixmap(b.window(), "viewall.xpm"));
    gtk_container_add(GTK_CONTAINER(all), inner);
    pack(panel, all);
    for (int n = 1; n <= MAX_LAYERS; ++n) {
        char name[40];
        std::snprintf(name, sizeof name, "hbox_lay_%d", n);
        GtkWidget* row = b.hbox(name, 1);
        std::snprintf(name, sizeof name, "label_lay_%d", n);
        const char digit[2] = {static_cast<char>('0' + n % 10), '\0'};
        pack(row, b.label(name, digit));
        std::snprintf(name, sizeof name, "togglebutton_lay_tool_%d", n);
        pack(row, b.toggle(name, "mini_tool.xpm"));
        std::snprintf(name, sizeof name, "togglebutton_lay_view_%d", n);
        pack(row, b.toggle(name, "mini_eye.xpm"));
        pack(panel, row);
        gtk_widget_hide(row);
    }
    return panel;
}

GtkWidget* frame_button(WindowBuilder& b, const char* name, const char* tip, const char* icon, bool toggle) {
    GtkWidget* w = toggle ? b.toggle(name, icon) : b.button(name, nullptr, icon);
    tooltip(w, tip);
    return w;
}

GtkWidget* create_view_frame(WindowBuilder& b) {
    GtkWidget* frame = b.frame("frame1", "3D Model View ");
    GtkWidget* column = gtk_vbox_new(FALSE, 2);
    GtkWidget* view = b.named("gtkglext_modelo3D", create_gl_view());
    gtk_widget_set_size_request(view, 200, 150);
    pack(column, view, true);

    GtkWidget* controls = b.hbox("hbox49", 1);
    GtkWidget* slider = b.hscale("hscale_frame", {1, 1, 100, 1, 0}, 0, GTK_POS_RIGHT);
    // Its value label (frame and time) takes room of its own: the slider keeps enough to drag.
    gtk_widget_set_size_request(slider, 160, -1);
    GtkWidget* timeline = gtk_vbox_new(FALSE, 0);
    pack(timeline, slider);
    pack(timeline, create_event_strip(b));
    pack(controls, timeline, true);
    pack(controls, frame_button(b, "boton_primero", "First", "primero.XPM", false));
    pack(controls, frame_button(b, "boton_anterior", "Previous", "atras.XPM", false));
    pack(controls, frame_button(b, "boton_rec", "Record AVI", "rec.XPM", true));
    pack(controls, frame_button(b, "boton_play", "Play-Stop", "play.XPM", true));
    pack(controls, frame_button(b, "boton_siguiente", "Next", "alante.XPM", false));
    pack(controls, frame_button(b, "boton_ultimo", "Last", "ultimo.XPM", false));
    pack(controls, text_label(" Go to "));
    GtkWidget* go_to = b.entry("entry_goto");
    gtk_entry_set_width_chars(GTK_ENTRY(go_to), 5);
    tooltip(go_to, "A frame number, or a time in seconds (2.5 s)");
    pack(controls, go_to);
    pack(column, controls);
    pack(column, create_event_controls(b));
    padded(frame, column, 2);
    return frame;
}

}  // namespace

GtkWidget* create_main_window() {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    WindowBuilder b(window);
    gtk_widget_set_name(window, "window1");
    register_widget(window, "window1", window);
    gtk_window_set_title(GTK_WINDOW(window), " ZEMO v.1.2");
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    gtk_window_set_default_size(GTK_WINDOW(window), 795, 590);
    GtkAccelGroup* accel = gtk_accel_group_new();
    gtk_window_add_accel_group(GTK_WINDOW(window), accel);

    GtkWidget* vbox1 = b.vbox("vbox1", 0);
    gtk_container_add(GTK_CONTAINER(window), vbox1);
    pack(vbox1, create_menubar(b, accel));
    pack(vbox1, create_toolbar(b));

    GtkWidget* hbox2 = b.hbox("hbox2", 2);
    GtkWidget* vbox2 = b.vbox("vbox2", 2);
    GtkWidget* hbox57 = b.hbox("hbox57", 2);
    pack(hbox57, create_layers_panel(b));
    pack(hbox57, create_view_frame(b), true);
    pack(vbox2, hbox57, true);
    GtkWidget* info = create_info_notebook(window);
    gtk_widget_set_size_request(info, 175, -1);
    pack(vbox2, info);
    pack(hbox2, vbox2, true);
    GtkWidget* alignment1 = b.named("alignment1", gtk_alignment_new(0.5, 0.5, 1, 1));
    gtk_container_add(GTK_CONTAINER(alignment1), create_edit_notebook(window));
    pack(hbox2, alignment1);
    pack(vbox1, hbox2, true);
    pack(vbox1, b.named("statusbar_principal", gtk_statusbar_new()));
    return window;
}
