// The mark and bone dialogs: built at each edit, filled from the working copy, and destroyed by
// their OK button (which stores the edit) or by the window frame (which discards it).
#include "gui/pages/bones_dialogs.h"

#include "engine/history/undo_step.h"
#include "engine/model/capture_model.h"
#include "engine/model/colour_table.h"
#include "engine/skeleton/skeleton_edit.h"
#include "gui/gl/redraw_tick.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/menus.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/kit/window_builder.h"
#include "gui/pages/bones_page.h"

namespace {

// The mark and the bone being edited, set when a dialog opens and read by its OK button.
int edited_mark = 0;
int edited_bone = 0;
// Each dialog while it exists.
GtkWidget* mark_dialog = nullptr;
GtkWidget* bone_dialog = nullptr;

GtkWidget* new_dialog(const char* name, const char* title, GtkWidget** slot) {
    if (*slot) gtk_widget_destroy(*slot);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    register_widget(window, name, window);
    gtk_window_set_title(GTK_WINDOW(window), title);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_MOUSE);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    if (app_windows.main_window) {
        gtk_window_set_transient_for(GTK_WINDOW(window), GTK_WINDOW(app_windows.main_window));
        gtk_window_set_destroy_with_parent(GTK_WINDOW(window), TRUE);
    }
    *slot = window;
    g_signal_connect(window, "destroy",
                     G_CALLBACK(+[](GtkWidget*, gpointer where) { *static_cast<GtkWidget**>(where) = nullptr; }), slot);
    return window;
}

// A frame with its caption around `child`, as the only content of the dialog.
void set_content(GtkWidget* dialog, const char* caption, GtkWidget* child) {
    GtkWidget* frame = gtk_frame_new(caption);
    gtk_container_set_border_width(GTK_CONTAINER(frame), 3);
    gtk_container_set_border_width(GTK_CONTAINER(child), 4);
    gtk_container_add(GTK_CONTAINER(frame), child);
    gtk_container_add(GTK_CONTAINER(dialog), frame);
    gtk_widget_show_all(frame);
}

void attach(GtkWidget* table, GtkWidget* widget, guint column, guint row) {
    gtk_table_attach(GTK_TABLE(table), widget, column, column + 1, row, row + 1,
                     static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL), GTK_FILL, 0, 0);
}

GtkWidget* new_table(guint rows) {
    GtkWidget* table = gtk_table_new(rows, 2, FALSE);
    gtk_table_set_row_spacings(GTK_TABLE(table), 3);
    gtk_table_set_col_spacings(GTK_TABLE(table), 4);
    return table;
}

bool valid_mark(int m) { return m >= 0 && m < app.mark_count(); }
bool valid_colour(int c) { return c >= 0 && c < colour_count; }

void mark_ok_clicked(GtkButton*, gpointer) {
    GtkWidget* dialog = mark_dialog;
    const int colour = option_position(dialog, "optionmenu_color");
    const int visible = widget_active(dialog, "check_visible_marca") ? 1 : 0;
    if (valid_mark(edited_mark) && valid_colour(colour)) {
        UndoStep step(app, "Edit mark");
        step.keep_skeleton();
        skeleton_change_mark(app, edited_mark, colour, visible);
        skeleton_fill_marks_list();
        request_redraw();
    }
    gtk_widget_destroy(dialog);
}

GtkWidget* create_mark_dialog() {
    GtkWidget* dialog = new_dialog("window_ed_marca", "Edit Mark - Skeleton", &mark_dialog);
    WindowBuilder b(dialog);
    GtkWidget* entry = b.entry("entry_nombre");
    gtk_editable_set_editable(GTK_EDITABLE(entry), FALSE);
    GtkWidget* table = new_table(2);
    attach(table, text_label("Name"), 0, 0);
    attach(table, entry, 1, 0);
    attach(table, text_label("Colour"), 0, 1);
    attach(table, b.option_menu("optionmenu_color"), 1, 1);
    GtkWidget* row = gtk_hbox_new(FALSE, 3);
    pack(row, b.check("check_visible_marca", "Visible"), true);
    pack(row, b.button("boton_aceptar", "OK", "s_aceptar.XPM"));
    GtkWidget* box = gtk_vbox_new(FALSE, 3);
    pack(box, table);
    pack(box, row);
    set_content(dialog, "Edit Mark", box);
    g_signal_connect(find_widget(dialog, "boton_aceptar"), "clicked", G_CALLBACK(mark_ok_clicked), nullptr);
    return dialog;
}

void bone_ok_clicked(GtkButton*, gpointer) {
    GtkWidget* dialog = bone_dialog;
    const int origin = option_position(dialog, "optionmenu_origen");
    const int destination = option_position(dialog, "optionmenu_destino");
    const int colour = option_position(dialog, "optionmenu_color");
    const bool valid = edited_bone >= 0 && edited_bone < app.bone_count && valid_mark(origin) &&
                       valid_mark(destination) && valid_colour(colour);
    // A refused edit is lost with the dialog.
    UndoStep step(app, "Edit bone");
    step.keep_skeleton();
    if (valid && skeleton_change_bone(app, edited_bone, origin, destination, colour) == 0) {
        skeleton_fill_bones_list();
        request_redraw();
    }
    gtk_widget_destroy(dialog);
}

GtkWidget* create_bone_dialog() {
    GtkWidget* dialog = new_dialog("window_ed_hueso", "Edit Bone - Skeleton", &bone_dialog);
    WindowBuilder b(dialog);
    GtkWidget* table = new_table(4);
    attach(table, text_label("Origin"), 0, 0);
    attach(table, b.option_menu("optionmenu_origen"), 1, 0);
    attach(table, text_label("Destin."), 0, 1);
    attach(table, b.option_menu("optionmenu_destino"), 1, 1);
    attach(table, text_label("Colour"), 0, 2);
    attach(table, b.option_menu("optionmenu_color"), 1, 2);
    attach(table, b.button("boton_acpetar", "OK", "s_aceptar.XPM"), 1, 3);
    set_content(dialog, "Edit Bone", table);
    g_signal_connect(find_widget(dialog, "boton_acpetar"), "clicked", G_CALLBACK(bone_ok_clicked), nullptr);
    return dialog;
}

}  // namespace

void edit_mark_clicked() {
    const int mark = first_selected_row("clist_hue_marcas");
    if (!valid_mark(mark)) return;
    edited_mark = mark;
    GtkWidget* dialog = create_mark_dialog();
    gtk_entry_set_text(GTK_ENTRY(find_widget(dialog, "entry_nombre")), app.channels[mark].name_text().c_str());
    const MarkStyle& style = app.mark_styles[mark];
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(find_widget(dialog, "check_visible_marca")), style.visible != 0);
    fill_colour_menu(dialog, "optionmenu_color");
    set_option_position(dialog, "optionmenu_color", style.colour);
    gtk_widget_show(dialog);
}

void edit_bone_clicked() {
    const int bone = first_selected_row("clist_hue_huesos");
    if (bone < 0 || bone >= app.bone_count) return;
    edited_bone = bone;
    GtkWidget* dialog = create_bone_dialog();
    fill_colour_menu(dialog, "optionmenu_color");
    fill_mark_menu(dialog, "optionmenu_origen");
    fill_mark_menu(dialog, "optionmenu_destino");
    const Bone& edited = app.bones[bone];
    set_option_position(dialog, "optionmenu_color", edited.colour);
    set_option_position(dialog, "optionmenu_origen", edited.origin);
    set_option_position(dialog, "optionmenu_destino", edited.destination);
    gtk_widget_show(dialog);
}
