// Handlers of the " Bones " page: the skeleton file buttons, the marks and bones lists, and
// inserting and deleting bones. The mark and bone dialogs are in bones_dialogs.
#include "gui/pages/bones_page.h"

#include <string>
#include <vector>

#include "engine/history/undo_step.h"
#include "engine/model/capture_model.h"
#include "engine/model/colour_table.h"
#include "engine/skeleton/skeleton_edit.h"
#include "engine/skeleton/skeleton_file.h"
#include "gui/gl/redraw_tick.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/file_dialog.h"
#include "gui/kit/menus.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/pages/bones_dialogs.h"
#include "gui/pages/unsaved_work.h"
#include "platform/paths.h"

namespace {

const char* colour_name(int colour) { return colour >= 0 && colour < colour_count ? ColourTable[colour].name : ""; }

const char* mark_name(int mark) {
    return mark >= 0 && mark < app.mark_count() ? app.channels[mark].name_text().c_str() : "";
}

void open_clicked() { file_select("Open Skeleton File", "*.bon", SELECT_OPEN_SKELETON); }
void save_clicked() { skeleton_save_bound(app); }
void save_as_clicked() { file_select("Save Skeleton File", "*.bon", SELECT_SAVE_SKELETON_AS); }

void insert_clicked() {
    const int origin = option_position("optionmenu_hue_origen");
    const int destination = option_position("optionmenu_hue_destino");
    const int colour = option_position("optionmenu_hue_color");
    // The menus name no mark while no capture is open.
    if (origin < 0 || origin >= app.mark_count() || destination < 0 || destination >= app.mark_count() || colour < 0 ||
        colour >= colour_count) {
        return;
    }
    UndoStep step(app, "Insert bone");
    step.keep_skeleton();
    if (skeleton_insert_bone(app, origin, destination, colour) != 0) return;
    skeleton_fill_bones_list();
    request_redraw();
}

void delete_clicked() {
    const int bone = first_selected_row("clist_hue_huesos");
    if (bone >= 0 && bone < app.bone_count) {
        UndoStep step(app, "Delete bone");
        step.keep_skeleton();
        skeleton_delete_bone(bone);
    }
    skeleton_fill_bones_list();
    request_redraw();
}

}  // namespace

void skeleton_fill_marks_list() {
    std::vector<std::vector<std::string>> rows;
    for (int m = 0; m < app.mark_count(); ++m) {
        const MarkStyle& style = app.mark_styles[m];
        rows.push_back({mark_name(m), colour_name(style.colour), style.visible ? "Yes" : "No"});
    }
    fill_list("clist_hue_marcas", rows);
}

void skeleton_fill_bones_list() {
    std::vector<std::vector<std::string>> rows;
    for (int b = 0; b < app.bone_count; ++b) {
        const Bone& bone = app.bones[b];
        rows.push_back({mark_name(bone.origin), mark_name(bone.destination), colour_name(bone.colour)});
    }
    fill_list("clist_hue_huesos", rows);
}

void skeleton_file_chosen(const std::string& path) {
    UndoStep step(app, "Open skeleton");
    step.keep_skeleton();
    if (skeleton_open(app, path) != 0) return;
    set_entry_text("entry_hue_fichero", last_path_component(path));
    skeleton_fill_bones_list();
    skeleton_fill_marks_list();
    request_redraw();
}

int skeleton_save_as_chosen(const std::string& path) {
    if (!replace_confirmed(path)) return 1;
    return skeleton_save_as(app, path);
}

int first_selected_row(const char* clist) {
    GtkWidget* list = main_widget(clist);
    if (!list || !GTK_CLIST(list)->selection) return -1;
    return GPOINTER_TO_INT(GTK_CLIST(list)->selection->data);
}

void connect_bones_page(GtkWidget* window) {
    const auto on_click = [window](const char* name, void (*command)()) {
        g_signal_connect_swapped(find_widget(window, name), "clicked", G_CALLBACK(command), nullptr);
    };
    on_click("boton_hue_abrir", open_clicked);
    on_click("boton_hue_guardar", save_clicked);
    on_click("boton_hue_guardarcomo", save_as_clicked);
    on_click("boton_hue_editarmarca", edit_mark_clicked);
    on_click("boton_insertar", insert_clicked);
    on_click("boton_hue_editarhuesos", edit_bone_clicked);
    on_click("boton_hue_eliminarhuesos", delete_clicked);
    set_file_select_action(SELECT_OPEN_SKELETON, [](const std::string& path) {
        skeleton_file_chosen(path);
        return 0;
    });
    set_file_select_action(SELECT_SAVE_SKELETON_AS, skeleton_save_as_chosen);
}
